#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

// The engine reaches the user only through these interfaces. The windows implement them with
// Qt, quillbox-cli with standard error, and the tests with scripted fakes.

enum class EPromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class EPromptIcon { None, Information, Warning, Error, Question };
enum class EPromptAnswer { Ok, Cancel, Yes, No };

class CPrompt {
public:
    virtual ~CPrompt() = default;
    // Shows a message box; "\r\n" in text is a line break. defaultButton counts the buttons of
    // the set from 0 (Yes-No with No as default is 1).
    virtual EPromptAnswer Ask(std::string_view text, std::string_view caption, EPromptButtons buttons, EPromptIcon icon,
                              int defaultButton = 0) = 0;

    // The plain message box with only OK that most failures show.
    void Message(std::string_view text, std::string_view caption = {}) {
        Ask(text, caption, EPromptButtons::Ok, EPromptIcon::Warning);
    }
    bool AskYesNo(std::string_view text, std::string_view caption = {}, int defaultButton = 0) {
        return Ask(text, caption, EPromptButtons::YesNo, EPromptIcon::Question, defaultButton) == EPromptAnswer::Yes;
    }
};

// One stored setting: where it lives and what a missing value reads as. The program's
// settings are all named in app/SettingsKeys.h.
struct CIntSetting {
    std::string_view section;
    std::string_view value;
    int def;
};
// Stored as the integer 1 or 0; any non-zero integer reads as true.
struct CBoolSetting {
    std::string_view section;
    std::string_view value;
    bool def;
};
struct CStringSetting {
    std::string_view section;
    std::string_view value;
    std::string_view def;
};

// Per-user (section, value) pairs. A missing value reads as the default; nothing is ever deleted.
class CSettings {
public:
    virtual ~CSettings() = default;
    virtual int GetInt(std::string_view section, std::string_view value, int def) const = 0;
    virtual std::string GetString(std::string_view section, std::string_view value, std::string_view def) const = 0;
    virtual void WriteInt(std::string_view section, std::string_view value, int data) = 0;
    virtual void WriteString(std::string_view section, std::string_view value, std::string_view data) = 0;

    int Get(const CIntSetting& s) const { return GetInt(s.section, s.value, s.def); }
    bool Get(const CBoolSetting& s) const { return GetInt(s.section, s.value, s.def ? 1 : 0) != 0; }
    std::string Get(const CStringSetting& s) const { return GetString(s.section, s.value, s.def); }
    void Set(const CIntSetting& s, int data) { WriteInt(s.section, s.value, data); }
    void Set(const CBoolSetting& s, bool on) { WriteInt(s.section, s.value, on ? 1 : 0); }
    void Set(const CStringSetting& s, std::string_view data) { WriteString(s.section, s.value, data); }
};

// One open progress indicator. Every feed also lets the user interface breathe, so Stop works.
class CProgress {
public:
    virtual ~CProgress() = default;
    virtual void SetRange(double total) = 0;
    virtual void SetPos(double value) = 0;
    virtual void SetPosText(double value, std::string_view text) = 0;
    virtual void SetCreeping(bool on) = 0;
    virtual bool IsAborted() = 0;
    virtual void KeepAlive(unsigned intervalMs, bool force) = 0;
};

class CProgressHost {
public:
    virtual ~CProgressHost() = default;
    // Opens the indicator; it closes when the returned object is destroyed. Never null.
    virtual std::unique_ptr<CProgress> OpenProgress() = 0;
};

// Common file and folder choosers. An empty result means the user cancelled.
class CPickers {
public:
    virtual ~CPickers() = default;
    virtual std::string BrowseForDirectory(std::string_view title, const std::filesystem::path& initial) = 0;
    // filter uses the "Text|*.a;*.b|All files|*.*|" form.
    virtual std::string OpenFile(std::string_view title, std::string_view filter,
                                 const std::filesystem::path& initial) = 0;
    virtual std::string SaveFile(std::string_view title, std::string_view filter,
                                 const std::filesystem::path& initial) = 0;
};

// What a long operation does to the windows while it runs.
class CBusy {
public:
    virtual ~CBusy() = default;
    virtual void SetWaitCursor(bool on) = 0;
    virtual void EnableFrame(bool on) = 0;
    virtual void EnableCollectionWindow(bool on) = 0;
    virtual void SetStatusText(std::string_view text) = 0;
};

// The bundle an operation is handed; the ports outlive every call that gets it.
struct CPorts {
    CPrompt& prompt;
    CSettings& settings;
    CProgressHost& progress;
    CPickers& pickers;
    CBusy& busy;
};
