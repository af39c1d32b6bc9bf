#pragma once

#include "app/Ports.h"
#include "filetools/CLauncher.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Where the desktop keeps its file-type associations (the XDG base directories).
struct CXdgPaths {
    std::filesystem::path dataHome;                // $XDG_DATA_HOME, ~/.local/share
    std::filesystem::path configHome;              // $XDG_CONFIG_HOME, ~/.config
    std::vector<std::filesystem::path> dataDirs;   // $XDG_DATA_DIRS
    std::vector<std::filesystem::path> configDirs; // $XDG_CONFIG_DIRS
    std::vector<std::string> desktops;             // $XDG_CURRENT_DESKTOP, lower case
    static CXdgPaths FromEnvironment();
};

// File-type associations over shared-mime-info (extension to MIME type), mimeapps.list (MIME
// type to default application) and desktop entries (the application's command). Writes only
// the per-user files; the system's stay as they are.
class CAssociations {
public:
    CAssociations(CPorts& ports, CLauncher& launcher, CXdgPaths paths = CXdgPaths::FromEnvironment());

    // ".bat", ".com" and ".exe" (exactly, lower case) are never looked up, linked or removed.
    static bool IsProtected(std::string_view ext);

    // The MIME type of an extension given with its dot; empty when none is known.
    std::string MimeTypeOf(std::string_view ext) const;
    struct CApplication {
        std::string desktopId;
        std::filesystem::path desktopFile;
        std::string exec; // the Exec line, unescaped
    };
    std::optional<CApplication> DefaultApplication(std::string_view mimeType) const;

    // The "Associated information" text; empty when nothing is associated.
    std::string GetAssociationInfo(std::string_view ext) const;
    // "New link": asks for the program and writes the per-user association; false on Cancel
    // (no message) or failure (after the message).
    bool CreateAssociation(std::string_view ext);
    // "Remove": deletes what is per-user of the extension's association, after the question.
    bool RemoveAssociation(std::string_view ext);

    // "Run" and "Print" of a collection file.
    void OnRunFile(const std::filesystem::path& file) { Launch(file, false); }
    void OnPrintFile(const std::filesystem::path& file) { Launch(file, true); }

    // Splits an Exec line into arguments with the file put in for its field code.
    static std::vector<std::string> ExpandExec(std::string_view exec, const std::string& file);
    // The per-user files "New link" writes for an extension.
    std::filesystem::path PackageFile(std::string_view ext) const;
    std::filesystem::path DesktopFile(std::string_view ext) const;
    std::filesystem::path MimeAppsFile() const { return m_paths.configHome / "mimeapps.list"; }

private:
    void Launch(const std::filesystem::path& file, bool print);
    bool StartWithAssociation(const std::filesystem::path& file, const CApplication& app);
    bool WriteAssociation(std::string_view ext, const std::string& program);
    void UpdateMimeDatabase();

    CPorts& m_ports;
    CLauncher& m_launcher;
    CXdgPaths m_paths;
};

// The "Extension tool" dialog's rules: the extension box, the information text and the state
// of "Remove".
class CExtensionTool {
public:
    explicit CExtensionTool(CAssociations& associations, CPrompt& prompt)
        : m_assoc(associations), m_prompt(prompt) {}

    // The extension looked up for a typed text: leading blanks dropped, cut at the first blank,
    // a '.' put in front; empty for nothing usable ("", ".", "x.").
    static std::string CleanExtension(std::string_view text);

    void Open(std::string_view initialText); // the first timer tick
    void SetText(std::string_view text);     // every change of the box
    bool NewLink(); // true when the new link was written
    bool Remove();  // true when the link was removed

    const std::string& Extension() const { return m_ext; }
    const std::string& Info() const { return m_info; }
    bool RemoveEnabled() const { return m_removeEnabled; }

private:
    CAssociations& m_assoc;
    CPrompt& m_prompt;
    std::string m_text;
    std::string m_ext;
    std::string m_info;
    bool m_removeEnabled = false;
};
