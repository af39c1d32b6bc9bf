#include "filetools/CAssociationWriter.h"

#include "app/FileAccess.h"
#include "app/TextUtil.h"
#include "filetools/CAssociations.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kRemoveCaption = "Delete extention linkes.";
constexpr std::string_view kCreateFailed = "Can not associating this file type to program.";

// One Exec argument, quoted when the desktop entry rules need it, then escaped as a string.
std::string QuoteExecArgument(std::string_view arg) {
    static constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string q;
    const bool quote = arg.find_first_of(kReserved) != std::string_view::npos;
    if (quote) q += '"';
    for (char c : arg) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) q += '\\';
        if (c == '%') q += '%';
        q += c;
    }
    if (quote) q += '"';
    std::string out;
    for (char c : q) {
        if (c == '\\') out += '\\';
        out += c;
    }
    return out;
}

std::string XmlEscape(std::string_view s) {
    std::string out;
    for (char c : s) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// The extension without its dot, as the per-user file names and the type name use it. Only
// plain characters: the text ends up in file names, a MIME type and an XML file.
std::optional<std::string> SafeBase(std::string_view ext) {
    if (ext.size() < 2 || ext[0] != '.') return std::nullopt;
    const std::string_view base = ext.substr(1);
    for (char c : base) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                        c == '-' || c == '+' || c == '.';
        if (!ok) return std::nullopt;
    }
    return std::string(base);
}

} // namespace

fs::path CAssociationWriter::PackageFile(std::string_view ext) const {
    const std::string base(ext.substr(ext.empty() ? 0 : 1));
    return m_assoc.Paths().dataHome / "mime" / "packages" / (base + "_auto_file.xml");
}

fs::path CAssociationWriter::DesktopFile(std::string_view ext) const {
    const std::string base(ext.substr(ext.empty() ? 0 : 1));
    return m_assoc.Paths().dataHome / "applications" / (base + "_auto_file.desktop");
}

fs::path CAssociationWriter::MimeAppsFile() const { return m_assoc.Paths().configHome / "mimeapps.list"; }

void CAssociationWriter::UpdateMimeDatabase() {
    const fs::path mimeDir = m_assoc.Paths().dataHome / "mime";
    if (!m_launcher.FindProgram("update-mime-database").empty())
        m_launcher.Run({"update-mime-database", mimeDir.string()});
    m_assoc.ReloadMimeDatabase();
}

bool CAssociationWriter::WriteAssociation(std::string_view ext, const std::string& program) {
    const auto base = SafeBase(ext);
    if (!base || program.empty() || program.find_first_of("\r\n") != std::string::npos) return false;
    CPrompt& prompt = m_ports.prompt;
    std::string mime = m_assoc.MimeTypeOf(ext);
    if (mime.empty()) {
        mime = "application/x-" + *base + "_auto_file";
        const std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                                "  <mime-type type=\"" +
                                XmlEscape(mime) +
                                "\">\n"
                                "    <comment>" +
                                XmlEscape(ToUpperAscii(*base)) +
                                " File</comment>\n"
                                "    <glob pattern=\"*" +
                                XmlEscape(ext) +
                                "\"/>\n"
                                "  </mime-type>\n"
                                "</mime-info>\n";
        const fs::path package = PackageFile(ext);
        if (!CreateDirectoryPath(package.parent_path()) || !WriteWholeFile(prompt, package, xml, true)) return false;
        UpdateMimeDatabase();
        // The look-ups read the compiled database: a type it does not know yet could never
        // find the application about to be linked.
        if (m_assoc.MimeTypeOf(ext) != mime) return false;
    }
    const std::string desktop = "[Desktop Entry]\n"
                                "Type=Application\n"
                                "Name=" +
                                ToUpperAscii(*base) +
                                " File\n"
                                "Exec=" +
                                QuoteExecArgument(program) +
                                " %f\n"
                                "MimeType=" +
                                mime +
                                ";\n"
                                "NoDisplay=true\n"
                                "Terminal=false\n";
    const fs::path desktopFile = DesktopFile(ext);
    if (!CreateDirectoryPath(desktopFile.parent_path()) || !WriteWholeFile(prompt, desktopFile, desktop, true))
        return false;

    const std::string id = desktopFile.filename().string();
    const fs::path list = MimeAppsFile();
    std::string text = ReadDesktopFile(list).value_or("");
    text = SetIniValue(text, "Default Applications", mime, id + ";");
    std::string added = id + ";";
    if (const auto old = IniValue(text, "Added Associations", mime))
        for (const std::string& other : SplitList(*old, ';'))
            if (other != id) added += other + ";";
    text = SetIniValue(text, "Added Associations", mime, added);
    // An association the user removed before would keep the new default from counting.
    if (const auto removed = IniValue(text, "Removed Associations", mime)) {
        std::string rest;
        for (const std::string& other : SplitList(*removed, ';'))
            if (other != id) rest += other + ";";
        text = SetIniValue(text, "Removed Associations", mime, rest.empty() ? std::nullopt : std::optional(rest));
    }
    return CreateDirectoryPath(list.parent_path()) && WriteWholeFile(prompt, list, text, true);
}

bool CAssociationWriter::CreateAssociation(std::string_view ext) {
    if (CAssociations::IsProtected(ext)) {
        m_ports.prompt.Message(kCreateFailed);
        return false;
    }
    const std::string program = m_ports.pickers.OpenFile("Open with...", "Programs|*|All files|*.*||", {});
    if (program.empty()) return false;
    if (!IsExistingFile(program, false) || !WriteAssociation(ext, program)) {
        m_ports.prompt.Message(kCreateFailed);
        return false;
    }
    return true;
}

bool CAssociationWriter::RemoveAssociation(std::string_view ext) {
    CPrompt& prompt = m_ports.prompt;
    if (CAssociations::IsProtected(ext)) {
        prompt.Ask("Don't allow to remove system extention linkes.", kRemoveCaption, EPromptButtons::Ok,
                   EPromptIcon::Warning);
        return false;
    }
    const std::string mime = m_assoc.MimeTypeOf(ext);
    const fs::path package = PackageFile(ext), desktopFile = DesktopFile(ext), list = MimeAppsFile();
    const std::string id = desktopFile.filename().string();
    const std::string listText = ReadDesktopFile(list).value_or("");
    const bool hasDefault = !mime.empty() && IniValue(listText, "Default Applications", mime).has_value();
    bool hasAdded = false;
    if (!mime.empty())
        for (const std::string& other : SplitList(IniValue(listText, "Added Associations", mime).value_or(""), ';'))
            hasAdded = hasAdded || other == id;
    std::error_code ec;
    const bool hasPackage = SafeBase(ext) && fs::exists(package, ec);
    const bool hasDesktop = SafeBase(ext) && fs::exists(desktopFile, ec);
    if (!hasDefault && !hasAdded && !hasPackage && !hasDesktop) {
        prompt.Ask("Can not to remove system extention linkes.", kRemoveCaption, EPromptButtons::Ok,
                   EPromptIcon::Warning);
        return false;
    }
    // Only leftovers without a default application go without asking.
    if (hasDefault && prompt.Ask("This extention link will remove.\r\n\r\nAre you sure?", kRemoveCaption,
                                 EPromptButtons::YesNo, EPromptIcon::Question) != EPromptAnswer::Yes)
        return false;

    bool ok = true;
    if (hasDefault || hasAdded) {
        std::string text = SetIniValue(listText, "Default Applications", mime, std::nullopt);
        std::string rest;
        for (const std::string& other : SplitList(IniValue(text, "Added Associations", mime).value_or(""), ';'))
            if (other != id) rest += other + ";";
        text = SetIniValue(text, "Added Associations", mime, rest.empty() ? std::nullopt : std::optional(rest));
        ok = WriteWholeFile(prompt, list, text, true);
    }
    if (hasDesktop && !fs::remove(desktopFile, ec)) ok = false;
    if (hasPackage) {
        if (!fs::remove(package, ec)) ok = false;
        UpdateMimeDatabase();
    }
    return ok;
}
