#include "app/CtavApp.h"

#include "QtConvert.h"
#include "app/CMainFrame.h"
#include "app/CSingleInstance.h"
#include "app/SettingsKeys.h"
#include "app/StartUp.h"
#include "collections/CCollectionWindowHost.h"
#include "collections/CCollections.h"
#include "filetools/CFileToolsHost.h"
#include "textdoc/CTextDocuments.h"

#include <QCoreApplication>
#include <unistd.h>

CtavApp* CtavApp::s_instance = nullptr;

CtavApp::CtavApp() { s_instance = this; }

CMainFrame* CtavApp::MainFrame() const { return m_frame; }

CUiServices CtavApp::Services() { return {&m_prompt, &m_settings, m_frame}; }

CtavApp::~CtavApp() {
    delete m_frame;
    if (s_instance == this) s_instance = nullptr;
}

bool CtavApp::InitInstance(const QString& commandLineFile) {
    m_commandLineFile = FromQPath(commandLineFile).string();

    m_instance = std::make_unique<CSingleInstance>();
    if (!m_instance->TryBecomePrimary()) {
        m_prompt.Message("ORW is already loaded.");
        m_instance->HandOver(ToQPath(m_commandLineFile));
        return false;
    }

    m_frame = new CMainFrame(m_prompt, m_settings, m_progress, m_pickers);
    new CTextDocuments(*m_frame); // fills the text seams; a child of the frame
    m_frame->UpdateCommandUi();
    m_prompt.SetParent(m_frame);
    m_pickers.SetParent(m_frame);
    m_progress.SetOwner(m_frame);
    connect(m_instance.get(), &CSingleInstance::activationRequested, m_frame.data(),
            &CMainFrame::OnActivateFromSecondInstance);
    m_frame->ShowAtStart();
    m_settings.Set(kPrevMainWin, int(::getpid()));

    const CStartUpEnvironment env = CStartUpEnvironment::FromProcess();
    m_programDir = env.programDir;
    if (!CheckProgramVolume(m_prompt, m_programDir)) return false;
    const auto working = ResolveWorkingDirectory(m_prompt, env);
    if (!working) return false;
    m_workingDir = *working;

    m_frame->AttachCollections(m_workingDir, m_programDir);
    CCollectionWindowHost::Install(*m_frame, Services());
    CFileToolsHost::Install(*m_frame);

    CStartUpHooks hooks;
    hooks.checkFavorites = [this] {
        m_frame->Collections()->CheckFavoritesAtStart();
        m_frame->UpdateCommandUi();
    };
    // The command-line file and the first-run help open once their windows fill the seams.
    if (m_frame->Seams().openDocument)
        hooks.openDocument = [this](const std::string& file) { m_frame->OpenDocumentFile(file); };
    if (m_frame->Seams().openHelpDocument) hooks.openHelp = [this] { m_frame->OpenHelpDocument(); };
    FinishStartUp(m_settings, m_workingDir, m_commandLineFile, hooks);
    m_settings.Sync();
    // QSettings saves silently; a failure at the end would lose this session's settings unseen.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [this] {
        if (!m_settings.Sync())
            m_prompt.Message("Can not save the settings to \"" + m_settings.FileName().toStdString() +
                             "\".\r\nCheck that the folder is writable and the disk is not full.");
    });
    return true;
}
