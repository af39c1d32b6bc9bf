#include "filetools/CAssociations.h"

#include "app/FileAccess.h"
#include "app/TextUtil.h"

#include <cstdlib>
#include <dirent.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kRemoveCaption = "Delete extention linkes.";
constexpr std::string_view kCreateFailed = "Can not associating this file type to program.";
constexpr std::string_view kNotFound = "Not found linked program.";

std::vector<std::string> SplitList(std::string_view text, char sep) {
    std::vector<std::string> out;
    while (!text.empty()) {
        const std::size_t at = text.find(sep);
        const std::string_view piece = TrimBlanks(text.substr(0, at));
        if (!piece.empty()) out.emplace_back(piece);
        if (at == std::string_view::npos) break;
        text.remove_prefix(at + 1);
    }
    return out;
}

std::optional<std::string> ReadText(const fs::path& path) {
    class CSilent : public CPrompt {
    public:
        EPromptAnswer Ask(std::string_view, std::string_view, EPromptButtons, EPromptIcon, int) override {
            return EPromptAnswer::Cancel;
        }
    } silent;
    return ReadWholeFile(silent, path);
}

// The lines of an ini-style file (desktop entries, mimeapps.list), split at LF.
std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string line(text.substr(start, end - start));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(std::move(line));
        start = end + 1;
    }
    return out;
}

bool IsGroupLine(const std::string& line) {
    const std::string_view t = TrimBlanks(line);
    return t.size() >= 2 && t.front() == '[' && t.back() == ']';
}

// The value of key in group, or nullopt.
std::optional<std::string> IniValue(std::string_view text, std::string_view group, std::string_view key) {
    bool inGroup = false;
    for (const std::string& line : Lines(text)) {
        if (IsGroupLine(line)) {
            inGroup = TrimBlanks(line) == "[" + std::string(group) + "]";
            continue;
        }
        if (!inGroup || line.empty() || line[0] == '#') continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        if (TrimBlanks(std::string_view(line).substr(0, eq)) == key)
            return std::string(TrimBlanks(std::string_view(line).substr(eq + 1)));
    }
    return std::nullopt;
}

// Sets (value set) or removes (nullopt) key in group, keeping every other line as it was.
std::string SetIniValue(std::string_view text, std::string_view group, std::string_view key,
                        const std::optional<std::string>& value) {
    std::vector<std::string> lines = Lines(text);
    const std::string header = "[" + std::string(group) + "]";
    std::size_t groupAt = std::string::npos, groupEnd = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!IsGroupLine(lines[i])) continue;
        if (groupAt != std::string::npos) {
            groupEnd = i;
            break;
        }
        if (TrimBlanks(lines[i]) == header) groupAt = i;
    }
    if (groupAt == std::string::npos) {
        if (!value) return std::string(text);
        if (!lines.empty() && !lines.back().empty()) lines.emplace_back();
        lines.push_back(header);
        groupAt = lines.size() - 1;
        groupEnd = lines.size();
    }
    bool done = false;
    for (std::size_t i = groupAt + 1; i < groupEnd;) {
        const std::size_t eq = lines[i].find('=');
        const bool match = lines[i][0] != '#' && eq != std::string::npos &&
                           TrimBlanks(std::string_view(lines[i]).substr(0, eq)) == key;
        if (match && value && !done) {
            lines[i] = std::string(key) + "=" + *value;
            done = true;
        } else if (match) {
            lines.erase(lines.begin() + long(i));
            --groupEnd;
            continue;
        }
        ++i;
    }
    if (value && !done) {
        std::size_t at = groupEnd;
        while (at > groupAt + 1 && lines[at - 1].empty()) --at; // before the blank line ending it
        lines.insert(lines.begin() + long(at), std::string(key) + "=" + *value);
    }
    std::string out;
    for (const std::string& l : lines) out += l + "\n";
    return out;
}

// The string type of desktop entries: \s \n \t \r \\ escapes.
std::string UnescapeString(std::string_view v) {
    std::string out;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i] != '\\' || i + 1 == v.size()) {
            out += v[i];
            continue;
        }
        switch (v[++i]) {
        case 's': out += ' '; break;
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        default: out += v[i]; break;
        }
    }
    return out;
}

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

std::string XmlAttribute(std::string_view tag, std::string_view name) {
    const std::string key = std::string(name) + "=\"";
    const std::size_t at = tag.find(key);
    if (at == std::string_view::npos) return {};
    const std::size_t start = at + key.size();
    const std::size_t end = tag.find('"', start);
    if (end == std::string_view::npos) return {};
    return std::string(tag.substr(start, end - start));
}

bool GlobMatches(std::string_view pattern, std::string_view ext, bool caseSensitive) {
    if (pattern.size() != ext.size() + 1 || pattern[0] != '*') return false;
    pattern.remove_prefix(1);
    return caseSensitive ? pattern == ext : EqualsNoCase(pattern, ext);
}

// The extension without its dot, as the per-user file names and the type name use it. Only
// plain characters: the text ends up in file names, a MIME type and an XML file.
std::optional<std::string> SafeBase(std::string_view ext) {
    if (ext.size() < 2 || ext[0] != '.') return std::nullopt;
    const std::string_view base = ext.substr(1);
    for (char c : base) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                        c == '_' || c == '-' || c == '+' || c == '.';
        if (!ok) return std::nullopt;
    }
    return std::string(base);
}

std::string ExtensionOf(const fs::path& file) {
    const std::string name = file.filename().string();
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

} // namespace

CXdgPaths CXdgPaths::FromEnvironment() {
    auto env = [](const char* name) -> std::string {
        const char* v = std::getenv(name);
        return v ? v : "";
    };
    const fs::path home = env("HOME");
    auto dirList = [](const std::string& value, const char* def) {
        std::vector<fs::path> out;
        for (const std::string& d : SplitList(value.empty() ? def : value, ':'))
            if (!d.empty() && d[0] == '/') out.emplace_back(d);
        return out;
    };
    CXdgPaths p;
    const std::string data = env("XDG_DATA_HOME"), config = env("XDG_CONFIG_HOME");
    p.dataHome = !data.empty() && data[0] == '/' ? fs::path(data) : home / ".local" / "share";
    p.configHome = !config.empty() && config[0] == '/' ? fs::path(config) : home / ".config";
    p.dataDirs = dirList(env("XDG_DATA_DIRS"), "/usr/local/share:/usr/share");
    p.configDirs = dirList(env("XDG_CONFIG_DIRS"), "/etc/xdg");
    for (const std::string& d : SplitList(env("XDG_CURRENT_DESKTOP"), ':')) p.desktops.push_back(ToLowerAscii(d));
    return p;
}

CAssociations::CAssociations(CPorts& ports, CLauncher& launcher, CXdgPaths paths)
    : m_ports(ports), m_launcher(launcher), m_paths(std::move(paths)) {}

bool CAssociations::IsProtected(std::string_view ext) {
    return ext == ".bat" || ext == ".com" || ext == ".exe";
}

fs::path CAssociations::PackageFile(std::string_view ext) const {
    const std::string base(ext.substr(ext.empty() ? 0 : 1));
    return m_paths.dataHome / "mime" / "packages" / (base + "_auto_file.xml");
}

fs::path CAssociations::DesktopFile(std::string_view ext) const {
    const std::string base(ext.substr(ext.empty() ? 0 : 1));
    return m_paths.dataHome / "applications" / (base + "_auto_file.desktop");
}

std::string CAssociations::MimeTypeOf(std::string_view ext) const {
    if (ext.size() < 2) return {};
    // The per-user packages first: the desktop's compiled globs may not know them yet.
    const fs::path packages = m_paths.dataHome / "mime" / "packages";
    if (DIR* d = ::opendir(packages.c_str())) {
        std::vector<std::string> names;
        while (const dirent* e = ::readdir(d)) {
            const std::string n = e->d_name;
            if (n.size() > 4 && n.compare(n.size() - 4, 4, ".xml") == 0) names.push_back(n);
        }
        ::closedir(d);
        for (const std::string& n : names) {
            const auto xml = ReadText(packages / n);
            if (!xml) continue;
            std::size_t pos = 0;
            while ((pos = xml->find("<mime-type", pos)) != std::string::npos) {
                const std::size_t tagEnd = xml->find('>', pos);
                const std::size_t end = xml->find("</mime-type>", pos);
                if (tagEnd == std::string::npos) break;
                const std::string type = XmlAttribute(std::string_view(*xml).substr(pos, tagEnd - pos), "type");
                std::size_t g = tagEnd;
                while ((g = xml->find("<glob", g)) != std::string::npos && g < end) {
                    const std::size_t gEnd = xml->find('>', g);
                    const std::string_view tag = std::string_view(*xml).substr(g, gEnd - g);
                    if (GlobMatches(XmlAttribute(tag, "pattern"), ext,
                                    XmlAttribute(tag, "case-sensitive") == "true") && !type.empty())
                        return type;
                    g = gEnd;
                }
                pos = end == std::string::npos ? xml->size() : end;
            }
        }
    }
    std::vector<fs::path> dirs{m_paths.dataHome};
    dirs.insert(dirs.end(), m_paths.dataDirs.begin(), m_paths.dataDirs.end());
    for (const fs::path& dir : dirs) {
        std::string best;
        int bestWeight = -1;
        if (const auto globs2 = ReadText(dir / "mime" / "globs2")) {
            for (const std::string& line : Lines(*globs2)) {
                if (line.empty() || line[0] == '#') continue;
                const std::vector<std::string> f = [&] {
                    std::vector<std::string> parts;
                    std::size_t s = 0;
                    for (std::size_t c; (c = line.find(':', s)) != std::string::npos; s = c + 1)
                        parts.push_back(line.substr(s, c - s));
                    parts.push_back(line.substr(s));
                    return parts;
                }();
                if (f.size() < 3) continue;
                const bool cs = f.size() > 3 && f[3].find("cs") != std::string::npos;
                const int weight = std::atoi(f[0].c_str());
                if (weight > bestWeight && GlobMatches(f[2], ext, cs)) {
                    best = f[1];
                    bestWeight = weight;
                }
            }
        } else if (const auto globs = ReadText(dir / "mime" / "globs")) {
            for (const std::string& line : Lines(*globs)) {
                const std::size_t colon = line.find(':');
                if (line.empty() || line[0] == '#' || colon == std::string::npos) continue;
                if (GlobMatches(std::string_view(line).substr(colon + 1), ext, false)) {
                    best = line.substr(0, colon);
                    break;
                }
            }
        }
        if (!best.empty()) return best;
    }
    return {};
}

std::optional<CAssociations::CApplication> CAssociations::DefaultApplication(std::string_view mimeType) const {
    if (mimeType.empty()) return std::nullopt;
    std::vector<fs::path> appDirs{m_paths.dataHome / "applications"};
    for (const fs::path& d : m_paths.dataDirs) appDirs.push_back(d / "applications");

    auto findDesktop = [&](const std::string& id) -> std::optional<CApplication> {
        if (id.find('/') != std::string::npos || id.empty()) return std::nullopt;
        std::vector<std::string> rels{id};
        for (std::size_t i = id.find('-'); i != std::string::npos; i = id.find('-', i + 1)) {
            std::string r = id;
            r[i] = '/';
            rels.push_back(r);
        }
        for (const fs::path& dir : appDirs)
            for (const std::string& rel : rels) {
                const auto text = ReadText(dir / rel);
                if (!text) continue;
                if (IniValue(*text, "Desktop Entry", "Hidden").value_or("") == "true") return std::nullopt;
                const auto exec = IniValue(*text, "Desktop Entry", "Exec");
                if (!exec || exec->empty()) return std::nullopt;
                return CApplication{id, dir / rel, UnescapeString(*exec)};
            }
        return std::nullopt;
    };
    auto fromLists = [&](const std::vector<fs::path>& lists, const char* group) -> std::optional<CApplication> {
        for (const fs::path& list : lists) {
            const auto text = ReadText(list);
            if (!text) continue;
            const auto value = IniValue(*text, group, mimeType);
            if (!value) continue;
            for (const std::string& id : SplitList(*value, ';'))
                if (auto app = findDesktop(id)) return app;
        }
        return std::nullopt;
    };

    std::vector<fs::path> listDirs{m_paths.configHome};
    listDirs.insert(listDirs.end(), m_paths.configDirs.begin(), m_paths.configDirs.end());
    listDirs.insert(listDirs.end(), appDirs.begin(), appDirs.end());
    std::vector<fs::path> lists;
    for (const fs::path& dir : listDirs) {
        for (const std::string& desktop : m_paths.desktops) lists.push_back(dir / (desktop + "-mimeapps.list"));
        lists.push_back(dir / "mimeapps.list");
    }
    std::vector<fs::path> defaults, caches;
    for (const fs::path& dir : appDirs) {
        defaults.push_back(dir / "defaults.list");
        caches.push_back(dir / "mimeinfo.cache");
    }
    if (auto app = fromLists(lists, "Default Applications")) return app;
    if (auto app = fromLists(lists, "Added Associations")) return app;
    if (auto app = fromLists(defaults, "Default Applications")) return app;
    return fromLists(caches, "MIME Cache");
}

std::string CAssociations::GetAssociationInfo(std::string_view ext) const {
    if (ext == ".bat") return "MS DOS batch file";
    if (ext == ".com") return "MS DOS application";
    if (ext == ".exe") return "MS Windows application";
    const auto app = DefaultApplication(MimeTypeOf(ext));
    if (!app) return {};
    std::string command = app->exec;
    const std::size_t percent = command.rfind('%');
    if (percent != std::string::npos && percent > 0) command.resize(percent);
    // sic: the program's own spelling
    return "Assotiated program: " + command + "\r\n";
}

void CAssociations::UpdateMimeDatabase() {
    // Lets the rest of the desktop see a changed package; our own look-up reads the packages
    // directly, so a missing tool only delays the others.
    const fs::path mimeDir = m_paths.dataHome / "mime";
    if (!m_launcher.FindProgram("update-mime-database").empty())
        m_launcher.Run({"update-mime-database", mimeDir.string()});
}

bool CAssociations::WriteAssociation(std::string_view ext, const std::string& program) {
    const auto base = SafeBase(ext);
    if (!base || program.empty() || program.find_first_of("\r\n") != std::string::npos) return false;
    CPrompt& prompt = m_ports.prompt;
    std::string mime = MimeTypeOf(ext);
    if (mime.empty()) {
        mime = "application/x-" + *base + "_auto_file";
        const std::string xml =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
            "  <mime-type type=\"" + XmlEscape(mime) + "\">\n"
            "    <comment>" + XmlEscape(ToUpperAscii(*base)) + " File</comment>\n"
            "    <glob pattern=\"*" + XmlEscape(ext) + "\"/>\n"
            "  </mime-type>\n"
            "</mime-info>\n";
        const fs::path package = PackageFile(ext);
        if (!CreateDirectoryPath(package.parent_path()) || !WriteWholeFile(prompt, package, xml, true))
            return false;
        UpdateMimeDatabase();
    }
    const std::string desktop = "[Desktop Entry]\n"
                                "Type=Application\n"
                                "Name=" + ToUpperAscii(*base) + " File\n"
                                "Exec=" + QuoteExecArgument(program) + " %f\n"
                                "MimeType=" + mime + ";\n"
                                "NoDisplay=true\n"
                                "Terminal=false\n";
    const fs::path desktopFile = DesktopFile(ext);
    if (!CreateDirectoryPath(desktopFile.parent_path()) || !WriteWholeFile(prompt, desktopFile, desktop, true))
        return false;

    const std::string id = desktopFile.filename().string();
    const fs::path list = MimeAppsFile();
    std::string text = ReadText(list).value_or("");
    text = SetIniValue(text, "Default Applications", mime, id + ";");
    std::string added = id + ";";
    if (const auto old = IniValue(text, "Added Associations", mime))
        for (const std::string& other : SplitList(*old, ';'))
            if (other != id) added += other + ";";
    text = SetIniValue(text, "Added Associations", mime, added);
    return CreateDirectoryPath(list.parent_path()) && WriteWholeFile(prompt, list, text, true);
}

bool CAssociations::CreateAssociation(std::string_view ext) {
    if (IsProtected(ext)) {
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

bool CAssociations::RemoveAssociation(std::string_view ext) {
    CPrompt& prompt = m_ports.prompt;
    if (IsProtected(ext)) {
        prompt.Ask("Don't allow to remove system extention linkes.", kRemoveCaption, EPromptButtons::Ok,
                   EPromptIcon::Warning);
        return false;
    }
    const std::string mime = MimeTypeOf(ext);
    const fs::path package = PackageFile(ext), desktopFile = DesktopFile(ext), list = MimeAppsFile();
    const std::string id = desktopFile.filename().string();
    const std::string listText = ReadText(list).value_or("");
    const bool hasDefault = !mime.empty() && IniValue(listText, "Default Applications", mime).has_value();
    const bool hasAdded = !mime.empty() && IniValue(listText, "Added Associations", mime)
                                               .value_or("").find(id) != std::string::npos;
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
        text = SetIniValue(text, "Added Associations", mime,
                           rest.empty() ? std::nullopt : std::optional<std::string>(rest));
        ok = WriteWholeFile(prompt, list, text, true);
    }
    if (hasDesktop && !fs::remove(desktopFile, ec)) ok = false;
    if (hasPackage) {
        if (!fs::remove(package, ec)) ok = false;
        UpdateMimeDatabase();
    }
    return ok;
}

std::vector<std::string> CAssociations::ExpandExec(std::string_view exec, const std::string& file) {
    std::vector<std::string> args;
    std::string cur;
    // An argument made only of field codes that expand to nothing is dropped, not passed empty.
    bool inArg = false, keep = false, quoted = false, usedFile = false;
    auto finish = [&] {
        if (inArg && (keep || !cur.empty())) args.push_back(cur);
        cur.clear();
        inArg = keep = false;
    };
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted) {
            if (c == '"') quoted = false;
            else if (c == '\\' && i + 1 < exec.size()) cur += exec[++i];
            else cur += c;
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\n') {
            finish();
            continue;
        }
        inArg = true;
        if (c == '"') {
            quoted = keep = true;
        } else if (c == '%' && i + 1 < exec.size()) {
            const char code = exec[++i];
            if (code == '%') {
                cur += '%';
            } else if (code == 'f' || code == 'F' || code == 'u' || code == 'U') {
                cur += file;
                usedFile = true;
            }
            // The other field codes (%i, %c, %k and the deprecated ones) expand to nothing here.
        } else {
            cur += c;
        }
    }
    finish();
    if (!usedFile && !args.empty()) args.push_back(file);
    return args;
}

bool CAssociations::StartWithAssociation(const fs::path& file, const CApplication& app) {
    // The desktop's own opener first, as a file manager would open the file.
    if (!m_launcher.FindProgram("xdg-open").empty() && m_launcher.Start({"xdg-open", file.string()}))
        return true;
    const std::vector<std::string> argv = ExpandExec(app.exec, file.string());
    return !argv.empty() && m_launcher.Start(argv);
}

void CAssociations::Launch(const fs::path& file, bool print) {
    CPrompt& prompt = m_ports.prompt;
    const std::string ext = ExtensionOf(file);
    if (IsProtected(ext)) {
        m_launcher.Start({file.string()});
        return;
    }
    std::error_code ec;
    if (!fs::exists(file, ec)) {
        const fs::path folder = file.parent_path();
        prompt.Message(!folder.empty() && !fs::is_directory(folder, ec) ? "Can not find path of this file."
                                                                         : "Can not find this file.");
        return;
    }
    if (::access(file.c_str(), R_OK) != 0) {
        prompt.Message("Access denied for this file.");
        return;
    }
    if (print) {
        if (m_launcher.FindProgram("lp").empty()) {
            prompt.Message("Can not find external application for print this file.");
            return;
        }
        m_launcher.Start({"lp", file.string()});
        return;
    }
    for (;;) {
        if (const auto app = DefaultApplication(MimeTypeOf(ext))) {
            StartWithAssociation(file, *app);
            return;
        }
        const std::string question = Format("Can not find external editor for this file.\r\n\r\nWhat do you like "
                                            "to find a programm\r\nyou want to use to open \"%s\" files type?",
                                            ext.c_str());
        if (prompt.Ask(question, {}, EPromptButtons::YesNoCancel, EPromptIcon::Question) != EPromptAnswer::Yes)
            return;
        if (!CreateAssociation(ext)) return;
    }
}

std::string CExtensionTool::CleanExtension(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    const std::size_t blank = text.find(' ');
    if (blank != std::string_view::npos) text = text.substr(0, blank);
    if (text.empty() || text == "." || (text.size() == 2 && text[1] == '.')) return {};
    return text[0] == '.' ? std::string(text) : "." + std::string(text);
}

void CExtensionTool::Open(std::string_view initialText) {
    m_text = std::string(initialText);
    if (m_text.empty()) {
        m_ext.clear();
        m_removeEnabled = false;
        return;
    }
    SetText(m_text);
}

void CExtensionTool::SetText(std::string_view text) {
    m_text = std::string(text);
    m_ext = CleanExtension(text);
    if (m_ext.empty()) {
        m_info.clear();
        m_removeEnabled = false;
        return;
    }
    const std::string info = m_assoc.GetAssociationInfo(m_ext);
    m_removeEnabled = !info.empty();
    m_info = info.empty() ? std::string(kNotFound) : info;
}

bool CExtensionTool::NewLink() {
    if (m_ext.empty() || m_ext[0] != '.') {
        m_prompt.Message("Insert a normal file extansion string, please.");
        return false;
    }
    if (m_removeEnabled && !m_prompt.AskYesNo("Are you sure it's will be right to change association?"))
        return false;
    const bool linked = m_assoc.CreateAssociation(m_ext);
    m_prompt.Message(linked ? "A new link was successful established" : "Can not to establish a new link.");
    SetText(m_text);
    return linked;
}

bool CExtensionTool::Remove() {
    if (!m_assoc.RemoveAssociation(m_ext)) return false;
    m_info = "This extension link was removed.";
    m_removeEnabled = false;
    return true;
}
