#pragma once

#include "app/Ports.h"
#include "filetools/CLauncher.h"
#include "filetools/CMimeDatabase.h"
#include "filetools/XdgFiles.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CAssociationWriter;

// File-type associations as the desktop resolves them: the MIME type of an extension from the
// shared MIME-info database, the default application of that type or of a type it is a kind of
// (mimeapps.list, the desktop entries' own types), and the application's command from its
// desktop entry's Exec line. Run and Print of a collection file go through it; "New link" and
// "Remove" through its Writer().
class CAssociations {
public:
    CAssociations(CPorts& ports, CLauncher& launcher, CXdgPaths paths = CXdgPaths::FromEnvironment());
    ~CAssociations();

    // ".bat", ".com" and ".exe" (exactly, lower case) are never looked up, linked or removed.
    static bool IsProtected(std::string_view ext);

    // The MIME type of an extension given with its dot; empty when none is known.
    std::string MimeTypeOf(std::string_view ext) const;
    struct CApplication {
        std::string desktopId;
        std::filesystem::path desktopFile;
        std::string exec; // the Exec line, unescaped
    };
    // The application that opens files of mimeType: a default set for the type or for any type
    // it is a kind of comes first (nearest type first), then an application associated with one
    // of them; an application whose association a mimeapps.list removed is passed over.
    std::optional<CApplication> DefaultApplication(std::string_view mimeType) const;

    // The "Associated information" text; empty when nothing is associated.
    std::string GetAssociationInfo(std::string_view ext) const;

    // "Run" and "Print" of a collection file.
    void OnRunFile(const std::filesystem::path& file) { Launch(file, false); }
    void OnPrintFile(const std::filesystem::path& file) { Launch(file, true); }

    // Splits an Exec line into arguments with the file put in for its field code.
    static std::vector<std::string> ExpandExec(std::string_view exec, const std::string& file);

    CAssociationWriter& Writer() { return *m_writer; }
    const CXdgPaths& Paths() const { return m_paths; }
    // The database as it was when first needed; reread after a change to the user's packages.
    const CMimeDatabase& Mime() const;
    void ReloadMimeDatabase() { m_mime.reset(); }

private:
    std::optional<CApplication> FindDesktopEntry(const std::string& id) const;
    void Launch(const std::filesystem::path& file, bool print);
    bool StartWithAssociation(const std::filesystem::path& file, const CApplication& app);

    CPorts& m_ports;
    CLauncher& m_launcher;
    CXdgPaths m_paths;
    mutable std::optional<CMimeDatabase> m_mime;
    std::unique_ptr<CAssociationWriter> m_writer;
};
