#pragma once

#include "app/Ports.h"
#include "filetools/CLauncher.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

class CAssociations;

// "New link" and "Remove" of the extension tool. Writes only the user's own files: a MIME package
// for an extension that has no type yet (compiled by update-mime-database), a desktop entry
// EXT_auto_file.desktop and the default in the user's mimeapps.list; the system's stay as they
// are. Every write goes through WriteWholeFile.
class CAssociationWriter {
public:
    CAssociationWriter(CPorts& ports, CLauncher& launcher, CAssociations& associations)
        : m_ports(ports), m_launcher(launcher), m_assoc(associations) {}

    // Asks for the program and writes the association; false on Cancel (no message) or failure
    // (after the message).
    bool CreateAssociation(std::string_view ext);
    // Deletes what is the user's of the extension's association, after the question.
    bool RemoveAssociation(std::string_view ext);

    std::filesystem::path PackageFile(std::string_view ext) const;
    std::filesystem::path DesktopFile(std::string_view ext) const;
    std::filesystem::path MimeAppsFile() const;

private:
    bool WriteAssociation(std::string_view ext, const std::string& program);
    // Compiles the user's packages; the look-ups read the result.
    void UpdateMimeDatabase();

    CPorts& m_ports;
    CLauncher& m_launcher;
    CAssociations& m_assoc;
};
