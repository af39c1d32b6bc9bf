#include "filetools/XdgFiles.h"

#include "app/FileAccess.h"
#include "app/Ports.h"
#include "app/TextUtil.h"

#include <cstdlib>

namespace fs = std::filesystem;

namespace {

bool IsGroupLine(std::string_view line) {
    const std::string_view t = TrimBlanks(line);
    return t.size() >= 2 && t.front() == '[' && t.back() == ']';
}

bool IsGroupHeader(std::string_view line, std::string_view group) {
    const std::string_view t = TrimBlanks(line);
    return IsGroupLine(t) && t.substr(1, t.size() - 2) == group;
}

// The key of a "key=value" line, or nullopt for comments and other lines.
std::optional<std::string_view> KeyOf(std::string_view line) {
    if (line.empty() || line[0] == '#') return std::nullopt;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return TrimBlanks(line.substr(0, eq));
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
            if (d[0] == '/') out.emplace_back(d);
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

std::vector<fs::path> CXdgPaths::MimeDirs() const {
    std::vector<fs::path> out{dataHome / "mime"};
    for (const fs::path& d : dataDirs) out.push_back(d / "mime");
    return out;
}

std::vector<fs::path> CXdgPaths::ApplicationDirs() const {
    std::vector<fs::path> out{dataHome / "applications"};
    for (const fs::path& d : dataDirs) out.push_back(d / "applications");
    return out;
}

std::optional<std::string> ReadDesktopFile(const fs::path& path) {
    class CSilent : public CPrompt {
    public:
        EPromptAnswer Ask(std::string_view, std::string_view, EPromptButtons, EPromptIcon, int) override {
            return EPromptAnswer::Cancel;
        }
    } silent;
    return ReadWholeFile(silent, path);
}

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

std::vector<std::string> TextLines(std::string_view text) {
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

std::vector<std::pair<std::string, std::string>> IniGroup(std::string_view text, std::string_view group) {
    std::vector<std::pair<std::string, std::string>> out;
    bool inGroup = false;
    for (const std::string& line : TextLines(text)) {
        if (IsGroupLine(line)) {
            inGroup = IsGroupHeader(line, group);
            continue;
        }
        const auto key = inGroup ? KeyOf(line) : std::nullopt;
        if (key) out.emplace_back(*key, TrimBlanks(std::string_view(line).substr(line.find('=') + 1)));
    }
    return out;
}

std::optional<std::string> IniValue(std::string_view text, std::string_view group, std::string_view key) {
    for (auto& [k, v] : IniGroup(text, group))
        if (k == key) return std::move(v);
    return std::nullopt;
}

std::string SetIniValue(std::string_view text, std::string_view group, std::string_view key,
                        const std::optional<std::string>& value) {
    std::vector<std::string> lines = TextLines(text);
    std::size_t groupAt = std::string::npos, groupEnd = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!IsGroupLine(lines[i])) continue;
        if (groupAt != std::string::npos) {
            groupEnd = i;
            break;
        }
        if (IsGroupHeader(lines[i], group)) groupAt = i;
    }
    if (groupAt == std::string::npos) {
        if (!value) return std::string(text);
        if (!lines.empty() && !lines.back().empty()) lines.emplace_back();
        lines.push_back("[" + std::string(group) + "]");
        groupAt = lines.size() - 1;
        groupEnd = lines.size();
    }
    bool done = false;
    for (std::size_t i = groupAt + 1; i < groupEnd;) {
        const bool match = KeyOf(lines[i]) == key;
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

std::string UnescapeDesktopString(std::string_view v) {
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
