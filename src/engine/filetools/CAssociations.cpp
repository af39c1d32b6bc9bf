#include "filetools/CAssociations.h"

#include "app/TextUtil.h"
#include "filetools/CAssociationWriter.h"

#include <map>
#include <set>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string ExtensionOf(const fs::path& file) {
    const std::string name = file.filename().string();
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

// One mimeapps.list (or defaults.list) by type, its keys unaliased.
struct CMimeAppsList {
    std::map<std::string, std::vector<std::string>> defaults, added, removed;
};

CMimeAppsList ReadMimeAppsList(const fs::path& file, const CMimeDatabase& mime, bool withAssociations,
                               const char* defaultsGroup) {
    CMimeAppsList list;
    const auto text = ReadDesktopFile(file);
    if (!text) return list;
    const auto read = [&](const char* group, std::map<std::string, std::vector<std::string>>& into) {
        for (const auto& [type, ids] : IniGroup(*text, group)) {
            std::vector<std::string>& to = into[mime.Unalias(type)];
            for (std::string& id : SplitList(ids, ';')) to.push_back(std::move(id));
        }
    };
    read(defaultsGroup, list.defaults);
    // Only the lists named mimeapps.list may add or remove associations.
    if (withAssociations) {
        read("Added Associations", list.added);
        read("Removed Associations", list.removed);
    }
    return list;
}

const std::vector<std::string>& IdsOf(const std::map<std::string, std::vector<std::string>>& m,
                                      const std::string& type) {
    static const std::vector<std::string> kNone;
    const auto it = m.find(type);
    return it == m.end() ? kNone : it->second;
}

} // namespace

CAssociations::CAssociations(CPorts& ports, CLauncher& launcher, CXdgPaths paths)
    : m_ports(ports), m_launcher(launcher), m_paths(std::move(paths)),
      m_writer(std::make_unique<CAssociationWriter>(ports, launcher, *this)) {}

CAssociations::~CAssociations() = default;

bool CAssociations::IsProtected(std::string_view ext) { return ext == ".bat" || ext == ".com" || ext == ".exe"; }

const CMimeDatabase& CAssociations::Mime() const {
    if (!m_mime) m_mime.emplace(m_paths.MimeDirs());
    return *m_mime;
}

std::string CAssociations::MimeTypeOf(std::string_view ext) const {
    if (ext.size() < 2) return {};
    return Mime().TypeOfName(ext);
}

std::optional<CAssociations::CApplication> CAssociations::FindDesktopEntry(const std::string& id) const {
    if (id.find('/') != std::string::npos || id.empty()) return std::nullopt;
    // A desktop file id names a file of an applications folder, or of a folder below it with
    // '-' standing for '/'.
    std::vector<std::string> rels{id};
    for (std::size_t i = id.find('-'); i != std::string::npos; i = id.find('-', i + 1)) {
        std::string r = id;
        r[i] = '/';
        rels.push_back(r);
    }
    for (const fs::path& dir : m_paths.ApplicationDirs())
        for (const std::string& rel : rels) {
            const auto text = ReadDesktopFile(dir / rel);
            if (!text) continue;
            // The first entry of an id decides, even a hidden one (it uninstalls the others).
            if (IniValue(*text, "Desktop Entry", "Hidden").value_or("") == "true") return std::nullopt;
            const auto exec = IniValue(*text, "Desktop Entry", "Exec");
            if (!exec || exec->empty()) return std::nullopt;
            return CApplication{id, dir / rel, UnescapeDesktopString(*exec)};
        }
    return std::nullopt;
}

std::optional<CAssociations::CApplication> CAssociations::DefaultApplication(std::string_view mimeType) const {
    if (mimeType.empty()) return std::nullopt;
    const CMimeDatabase& mime = Mime();
    const std::vector<std::string> types = mime.TypeAndParents(mimeType);

    // mimeapps.list in the order of precedence, the desktop-specific ones first at each level.
    std::vector<CMimeAppsList> lists;
    std::vector<fs::path> levels{m_paths.configHome};
    levels.insert(levels.end(), m_paths.configDirs.begin(), m_paths.configDirs.end());
    const std::vector<fs::path> appDirs = m_paths.ApplicationDirs();
    levels.insert(levels.end(), appDirs.begin(), appDirs.end());
    for (const fs::path& dir : levels) {
        for (const std::string& desktop : m_paths.desktops)
            lists.push_back(ReadMimeAppsList(dir / (desktop + "-mimeapps.list"), mime, false, "Default Applications"));
        lists.push_back(ReadMimeAppsList(dir / "mimeapps.list", mime, true, "Default Applications"));
    }
    // The older defaults.list and the desktop entries' own types, as update-desktop-database
    // collects them, come after every mimeapps.list.
    std::vector<CMimeAppsList> legacy, caches;
    for (const fs::path& dir : appDirs) {
        legacy.push_back(ReadMimeAppsList(dir / "defaults.list", mime, false, "Default Applications"));
        caches.push_back(ReadMimeAppsList(dir / "mimeinfo.cache", mime, false, "MIME Cache"));
    }

    // A removal applies to its own list and to every list after it.
    auto firstInstalled = [&](const std::vector<std::string>& ids,
                              const std::set<std::string>& removed) -> std::optional<CApplication> {
        for (const std::string& id : ids)
            if (!removed.count(id))
                if (auto app = FindDesktopEntry(id)) return app;
        return std::nullopt;
    };
    // Defaults of the type and of every type it is a kind of come first, so a default chosen
    // for text/plain opens a C source before an application that merely lists C sources.
    for (const std::string& type : types) {
        std::set<std::string> removed;
        for (const CMimeAppsList& list : lists) {
            removed.insert(IdsOf(list.removed, type).begin(), IdsOf(list.removed, type).end());
            if (auto app = firstInstalled(IdsOf(list.defaults, type), removed)) return app;
        }
        for (const CMimeAppsList& list : legacy)
            if (auto app = firstInstalled(IdsOf(list.defaults, type), removed)) return app;
    }
    for (const std::string& type : types) {
        std::set<std::string> removed;
        for (const CMimeAppsList& list : lists) {
            removed.insert(IdsOf(list.removed, type).begin(), IdsOf(list.removed, type).end());
            if (auto app = firstInstalled(IdsOf(list.added, type), removed)) return app;
        }
        for (const CMimeAppsList& cache : caches)
            if (auto app = firstInstalled(IdsOf(cache.defaults, type), removed)) return app;
    }
    return std::nullopt;
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
    // sic: kept as users know it
    return "Assotiated program: " + command + "\r\n";
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
            else if (c == '\\' && i + 1 < exec.size())
                cur += exec[++i];
            // "%%" is a literal '%' in a quoted argument too; field codes have no place there.
            else if (c == '%' && i + 1 < exec.size() && exec[i + 1] == '%')
                cur += exec[++i];
            else
                cur += c;
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
    if (!m_launcher.FindProgram("xdg-open").empty() && m_launcher.Start({"xdg-open", file.string()})) return true;
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
        if (prompt.Ask(question, {}, EPromptButtons::YesNoCancel, EPromptIcon::Question) != EPromptAnswer::Yes) return;
        if (!m_writer->CreateAssociation(ext)) return;
    }
}
