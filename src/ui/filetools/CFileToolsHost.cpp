#include "filetools/CFileToolsHost.h"

#include "CDataTable.h"
#include "QtConvert.h"
#include "app/CMainFrame.h"
#include "app/CQtProgressHost.h"
#include "collections/CCollectionCommands.h"
#include "collections/CCollectionWnd.h"
#include "collections/CCollections.h"
#include "filetools/CAssociations.h"
#include "filetools/CCopyAllFiles.h"
#include "filetools/CCopyAllFilesDlg.h"
#include "filetools/CExtensionTool.h"
#include "filetools/CExtensionToolDlg.h"
#include "filetools/CFileInfo.h"
#include "filetools/CFileInfoDlg.h"
#include "filetools/CProjectSaveAs.h"
#include "filetools/CReadOnlyWarningDlg.h"
#include "filetools/CReplaceDlg.h"
#include "filetools/CSaveProjectDlg.h"
#include "filetools/ReplaceStart.h"

#include <QApplication>

CFileToolsHost::CFileToolsHost(CMainFrame& frame)
    : QObject(&frame), m_frame(frame), m_associations(std::make_unique<CAssociations>(frame.Ports(), m_launcher)) {}

CFileToolsHost::~CFileToolsHost() = default;

CFileToolsHost* CFileToolsHost::Install(CMainFrame& frame) {
    auto* host = new CFileToolsHost(frame);
    CFrameSeams& seams = frame.Seams();
    seams.fileExtensionTool = [host] { host->OnExtensionTool(); };
    seams.replaceInFiles = [host] { host->OnReplaceInFiles(); };
    seams.saveProjectAs = [host](bool any) { host->OnSaveProjectAs(any); };
    seams.copyAllFiles = [host] { host->OnCopyAllFiles(); };
    seams.runFile = [host](const std::filesystem::path& file) { host->m_associations->OnRunFile(file); };
    seams.printFile = [host](const std::filesystem::path& file) { host->m_associations->OnPrintFile(file); };
    CFileInfoHooks& info = frame.FileInfo()->Hooks();
    info.dialog = [host](CFileInfoDlgModel& model) {
        CFileInfoDlg dlg(model, host->m_frame.Ports(), host->DialogOwner());
        return dlg.exec() == QDialog::Accepted;
    };
    info.renameFile = [host](std::string_view name) { return host->RenameSelectedFile(name); };
    frame.UpdateCommandUi();
    return host;
}

QWidget* CFileToolsHost::DialogOwner() const {
    QWidget* w = m_frame.CollectionWindow();
    return w && w->isActiveWindow() ? w : &m_frame;
}

std::optional<std::string> CFileToolsHost::SelectedLocation() const {
    const CFrameSeams::CCollectionWindow& cw = m_frame.Seams().collectionWindow;
    if (!m_frame.CollectionWindow() || !cw.currentRow || !m_frame.Collections()) return std::nullopt;
    const auto row = cw.currentRow();
    if (!row) return std::nullopt;
    const CCollectionStore& store = m_frame.Collections()->Store();
    const auto record = store.RecordOfRow(*row);
    if (!record) return std::nullopt;
    return store.Records()[*record].location;
}

void CFileToolsHost::OnExtensionTool() {
    CPorts& ports = m_frame.Ports();
    CExtensionTool tool(*m_associations, ports.prompt);
    // The main window is disabled while the dialog is open. The dialog is made after that: a
    // window that already belongs to a disabled one would be disabled with it.
    ports.busy.EnableFrame(false);
    {
        CExtensionToolDlg dlg(tool, CExtensionTool::StartText(SelectedLocation()), &m_frame);
        dlg.exec();
    }
    ports.busy.EnableFrame(true);
    // A new link changes what the desktop database says; the next Run reads it again.
    m_associations->ReloadMimeDatabase();
}

void CFileToolsHost::OnReplaceInFiles() {
    CPorts& ports = m_frame.Ports();
    CCollections* collections = m_frame.Collections();
    if (!collections) return;
    const auto scope =
        StartReplace(ports, *collections, m_frame.IsCollectionWindowActive(), m_frame.CollectionWindow() != nullptr,
                     m_frame.CollectionCommands()->Hooks().openCollectionDialog);
    if (!scope) return;
    CQtReadOnlyWarning warning(&m_frame);
    CQtProgressHost progress(ports.prompt);
    CReplaceDlg dlg(ports, warning, progress, *scope, DialogOwner());
    progress.SetOwner(&dlg);
    dlg.exec();
}

void CFileToolsHost::OnSaveProjectAs(bool any) {
    CPorts& ports = m_frame.Ports();
    CProjectSaveAs saveAs(ports, any ? CProjectSaveAs::EVariant::Any : CProjectSaveAs::EVariant::Vs);
    QString oldFile, newFile;
    {
        CSaveProjectDlg dlg(saveAs, any, DialogOwner());
        if (dlg.exec() != QDialog::Accepted) return;
        oldFile = dlg.OldFile();
        newFile = dlg.NewFile();
    }
    saveAs.CopyProject(FromQPath(oldFile), FromQPath(newFile));
}

void CFileToolsHost::OnCopyAllFiles() {
    CPorts& ports = m_frame.Ports();
    CCopyAllFiles copy(ports);
    CCopyAllFiles::CFields fields;
    {
        CCopyAllFilesDlg dlg(copy, ports.prompt, DialogOwner());
        if (dlg.exec() != QDialog::Accepted) return;
        fields = dlg.Fields();
    }
    copy.OnCopyAllFiles(fields);
}

bool CFileToolsHost::RenameSelectedFile(std::string_view newName) {
    const CFrameSeams::CCollectionWindow& cw = m_frame.Seams().collectionWindow;
    const auto row = cw.currentRow ? cw.currentRow() : std::nullopt;
    CCollections* collections = m_frame.Collections();
    if (!row || !collections) return false;
    const CCollectionStore& store = collections->Store();
    const auto record = store.RecordOfRow(*row);
    if (!record) return false;
    // The location cell's text form: below the base directory, or the whole path for the
    // favorites and files outside it; the name takes the place of the old one.
    const std::string& location = store.Records()[*record].location;
    const std::string folder = location.substr(0, location.rfind('/') + 1);
    std::string text = folder + std::string(newName);
    const std::string& base = store.BaseDirectory();
    if (!store.IsFavoritesView() && !base.empty() && text.size() > base.size() + 1 &&
        text.compare(0, base.size(), base) == 0 && text[base.size()] == '/')
        text = text.substr(base.size() + 1);
    if (!m_frame.CollectionCommands()->RenameCollectionFile(*row, text)) return false;
    if (auto* w = qobject_cast<CCollectionWnd*>(m_frame.CollectionWindow())) {
        w->ShowRows(int(*row));
        w->Table()->viewport()->update();
    }
    return true;
}
