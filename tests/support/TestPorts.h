#pragma once

#include "app/CMemorySettings.h"
#include "app/Ports.h"

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

// Records every message box; questions are answered from a queue, and a question nobody
// scripted fails the test. Plain OK messages need no answer.
class CScriptedPrompt : public CPrompt {
public:
    struct CShown {
        std::string text;
        std::string caption;
        EPromptButtons buttons;
    };
    EPromptAnswer Ask(std::string_view text, std::string_view caption, EPromptButtons buttons, EPromptIcon icon,
                      int defaultButton) override;
    void Answer(EPromptAnswer a) { m_answers.push_back(a); }
    void AnswerYes() { Answer(EPromptAnswer::Yes); }
    void AnswerNo() { Answer(EPromptAnswer::No); }

    const std::vector<CShown>& Shown() const { return m_shown; }
    std::vector<std::string> Texts() const;
    std::string LastText() const { return m_shown.empty() ? std::string() : m_shown.back().text; }
    bool AllAnswersUsed() const { return m_answers.empty(); }
    void Clear() { m_shown.clear(); }

private:
    std::vector<CShown> m_shown;
    std::deque<EPromptAnswer> m_answers;
};

// A progress indicator that records what it was fed and reports Stop from a chosen
// IsAborted() call on (1 = the first).
class CScriptedProgress : public CProgress {
public:
    struct Log {
        int opened = 0;
        double range = -1;
        bool creeping = false;
        std::vector<double> positions;
        std::vector<std::string> labels;
        int abortQueries = 0;
        int stopAtQuery = 0; // 0: never
    };
    explicit CScriptedProgress(Log& log) : m_log(log) {}
    void SetRange(double total) override { m_log.range = total; }
    void SetPos(double value) override { m_log.positions.push_back(value); }
    void SetPosText(double value, std::string_view text) override {
        m_log.positions.push_back(value);
        m_log.labels.emplace_back(text);
    }
    void SetCreeping(bool on) override { m_log.creeping = on; }
    bool IsAborted() override {
        ++m_log.abortQueries;
        return m_log.stopAtQuery > 0 && m_log.abortQueries >= m_log.stopAtQuery;
    }
    void KeepAlive(unsigned, bool) override {}

private:
    Log& m_log;
};

class CScriptedProgressHost : public CProgressHost {
public:
    std::unique_ptr<CProgress> OpenProgress() override {
        ++log.opened;
        return std::make_unique<CScriptedProgress>(log);
    }
    CScriptedProgress::Log log;
};

// Directory and file choosers answered from queues; an empty queue means Cancel.
class CScriptedPickers : public CPickers {
public:
    std::string BrowseForDirectory(std::string_view title, const std::filesystem::path& initial) override {
        return Take(title, initial);
    }
    std::string OpenFile(std::string_view title, std::string_view, const std::filesystem::path& initial) override {
        return Take(title, initial);
    }
    std::string SaveFile(std::string_view title, std::string_view, const std::filesystem::path& initial) override {
        return Take(title, initial);
    }
    std::deque<std::string> answers;
    std::vector<std::string> titles;
    std::vector<std::filesystem::path> initials;

private:
    std::string Take(std::string_view title, const std::filesystem::path& initial);
};

class CRecordingBusy : public CBusy {
public:
    void SetWaitCursor(bool on) override { waitCursor = on; }
    void EnableFrame(bool on) override { frameEnabled = on; }
    void EnableCollectionWindow(bool on) override { collectionEnabled = on; }
    void SetStatusText(std::string_view text) override { status.emplace_back(text); }
    bool waitCursor = false;
    bool frameEnabled = true;
    bool collectionEnabled = true;
    std::vector<std::string> status;
};

// All five ports in one place, for tests that call engine operations.
struct CTestPorts {
    CScriptedPrompt prompt;
    CMemorySettings settings;
    CScriptedProgressHost progress;
    CScriptedPickers pickers;
    CRecordingBusy busy;
    CPorts ports{prompt, settings, progress, pickers, busy};
};

// A fresh folder per test, with QUILLBOX_HOME, HOME, XDG_CONFIG_HOME and XDG_DATA_HOME
// pointing into it so nothing touches a real user's files. Removed (made writable first) at the end.
class CTempHome {
public:
    CTempHome();
    ~CTempHome();
    CTempHome(const CTempHome&) = delete;
    CTempHome& operator=(const CTempHome&) = delete;

    const std::filesystem::path& Root() const { return m_root; }
    std::filesystem::path Home() const { return m_root / "home"; } // $QUILLBOX_HOME
    std::filesystem::path Work() const { return m_root / "work"; } // scratch space
    // Writes a file (creating folders) and returns its path.
    std::filesystem::path Write(const std::filesystem::path& rel, std::string_view content) const;

private:
    std::filesystem::path m_root;
    std::vector<std::pair<std::string, std::string>> m_savedEnv;
};

std::string ReadFileBytes(const std::filesystem::path& path);
// UTF-8 text as a UTF-16 file with its byte-order mark (characters below U+10000).
std::string Utf16WithBom(std::string_view utf8, bool bigEndian = false);
// The text with every LF made CR LF.
std::string Crlf(std::string_view text);
// A sample file under tests/data, byte for byte.
std::string TestData(const std::filesystem::path& rel);
