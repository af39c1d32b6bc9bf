#pragma once

#include "CUiServices.h"
#include "app/CQtPickers.h"
#include "app/CQtProgressHost.h"
#include "app/CQtPrompt.h"
#include "app/CQtSettings.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class CMainFrame;
class CSingleInstance;

// The application object: runs the start-up steps in their order and owns, for the whole run,
// the ports the engine talks through and the main frame.
class CtavApp : public QObject {
    Q_OBJECT
public:
    CtavApp();
    ~CtavApp() override;

    // commandLineFile: absolute, or empty for none. False when the program must end at once (a
    // message has been shown).
    bool InitInstance(const QString& commandLineFile);

    static CtavApp* Instance() { return s_instance; }
    CQtPrompt& Prompt() { return m_prompt; }
    CQtSettings& Settings() { return m_settings; }
    CQtPickers& Pickers() { return m_pickers; }
    CQtProgressHost& ProgressHost() { return m_progress; }
    CMainFrame* MainFrame() const;
    // What the application's reusable windows (tables, tips) are built with.
    CUiServices Services();
    const std::filesystem::path& ProgramDirectory() const { return m_programDir; }
    const std::filesystem::path& WorkingDirectory() const { return m_workingDir; }
    const std::string& CommandLineFile() const { return m_commandLineFile; }

private:
    static CtavApp* s_instance;
    CQtPrompt m_prompt;
    CQtSettings m_settings;
    CQtPickers m_pickers;
    CQtProgressHost m_progress{m_prompt};
    std::unique_ptr<CSingleInstance> m_instance;
    QPointer<CMainFrame> m_frame;
    std::filesystem::path m_programDir;
    std::filesystem::path m_workingDir;
    std::string m_commandLineFile;
};
