#pragma once

#include "app/CMemorySettings.h"
#include "app/Ports.h"

#include <memory>

// Ports for runs nobody watches (the command line, benchmarks): progress is neither shown nor
// stopped, every chooser is cancelled, the busy state goes nowhere.

class CQuietProgress : public CProgress {
public:
    void SetRange(double) override {}
    void SetPos(double) override {}
    void SetPosText(double, std::string_view) override {}
    void SetCreeping(bool) override {}
    bool IsAborted() override { return false; }
    void KeepAlive(unsigned, bool) override {}
};

class CQuietProgressHost : public CProgressHost {
public:
    std::unique_ptr<CProgress> OpenProgress() override { return std::make_unique<CQuietProgress>(); }
};

class CNoPickers : public CPickers {
public:
    std::string BrowseForDirectory(std::string_view, const std::filesystem::path&) override { return {}; }
    std::string OpenFile(std::string_view, std::string_view, const std::filesystem::path&) override { return {}; }
    std::string SaveFile(std::string_view, std::string_view, const std::filesystem::path&) override { return {}; }
};

class CNoBusy : public CBusy {
public:
    void SetWaitCursor(bool) override {}
    void EnableFrame(bool) override {}
    void EnableCollectionWindow(bool) override {}
    void SetStatusText(std::string_view) override {}
};

// Says nothing and answers every question the same way: Yes / OK, or No / Cancel.
class CFixedAnswerPrompt : public CPrompt {
public:
    explicit CFixedAnswerPrompt(bool yes) : m_yes(yes) {}
    EPromptAnswer Ask(std::string_view, std::string_view, EPromptButtons buttons, EPromptIcon, int) override {
        if (buttons == EPromptButtons::Ok) return EPromptAnswer::Ok;
        if (buttons == EPromptButtons::OkCancel) return m_yes ? EPromptAnswer::Ok : EPromptAnswer::Cancel;
        return m_yes ? EPromptAnswer::Yes : EPromptAnswer::No;
    }

private:
    bool m_yes;
};

struct CQuietPorts {
    explicit CQuietPorts(bool answerYes) : prompt(answerYes) {}
    CFixedAnswerPrompt prompt;
    CMemorySettings settings;
    CQuietProgressHost progress;
    CNoPickers pickers;
    CNoBusy busy;
    CPorts ports{prompt, settings, progress, pickers, busy};
};
