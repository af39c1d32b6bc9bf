#pragma once

#include "CliContext.h"
#include "restools/CResourceTools.h"
#include "restools/CResourceView.h"
#include "textdoc/CTextEncoding.h"

#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

// The file choosers of the resource commands answer with the files named on the command line.
class CArgumentPickers : public CPickers {
public:
    std::string BrowseForDirectory(std::string_view, const std::filesystem::path&) override { return {}; }
    std::string OpenFile(std::string_view, std::string_view, const std::filesystem::path&) override {
        if (files.empty()) return {};
        std::string f = files.front();
        files.pop_front();
        return f;
    }
    std::string SaveFile(std::string_view, std::string_view, const std::filesystem::path&) override { return {}; }
    std::deque<std::string> files;
};

// The option dialogs answered from the arguments: the RC options are already in the settings,
// the project search takes the values given here.
class CArgumentDialogs : public CResourceDialogs {
public:
    CArgumentDialogs(CPrompt& prompt, CSettings& settings) : m_prompt(prompt), m_settings(settings) {}
    bool RunRcOptionsDialog(bool) override { return true; }
    bool RunProjectSearchDialog(CProjectSearchOptions& options) override;
    std::optional<std::string> folder;
    std::optional<std::string> extensions;
    std::string keyword;
    bool negative = false;

private:
    CPrompt& m_prompt;
    CSettings& m_settings;
};

// A resource file loaded as the text view loads it, with the tools over it.
class CCliResourceSession {
public:
    explicit CCliResourceSession(CCliContext& ctx);
    // Reads path and checks that it is a text file of the kind the command needs; false after a
    // message.
    bool Load(const std::filesystem::path& path, EViewKind needed);

    CResourceTools& Tools() { return *m_tools; }
    CMemoryResourceView& View() { return *m_view; }
    CArgumentPickers& Pickers() { return m_pickers; }
    CArgumentDialogs& Dialogs() { return m_dialogs; }
    const std::filesystem::path& Path() const { return m_path; }
    // Puts the options into the settings, as the options dialog would have written them.
    void SetRcOptions(const CRcGroups& groups, bool allText);
    // Writes the view's text to the file (read-only files only with --yes); false after a message.
    bool Save();
    // A UTF-16 file is worked on as UTF-8: offsets and texts go back to the file's own form.
    std::size_t FileOffset(std::size_t engineOffset) const;
    std::string FileBytes(std::string_view engineText) const;

private:
    CCliContext& m_ctx;
    CArgumentPickers m_pickers;
    CArgumentDialogs m_dialogs;
    CPorts m_ports;
    std::filesystem::path m_path;
    std::unique_ptr<CMemoryResourceView> m_view;
    std::unique_ptr<CResourceTools> m_tools;
    std::optional<CTextEncoding> m_utf16;
};

void WriteToStdout(std::string_view data);
// --groups: a comma-separated subset of str,dlg,menu; all when not given. Throws CUsageError.
CRcGroups ParseGroupsArgument(const std::optional<std::string>& groups);
