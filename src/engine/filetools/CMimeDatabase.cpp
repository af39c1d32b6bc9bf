#include "filetools/CMimeDatabase.h"

#include "app/TextUtil.h"
#include "filetools/XdgFiles.h"

#include <algorithm>
#include <cstdlib>
#include <fnmatch.h>
#include <set>

namespace fs = std::filesystem;

namespace {

bool GlobMatches(const std::string& pattern, const std::string& name) {
    if (pattern.find_first_of("*?[") == std::string::npos) return pattern == name;
    return ::fnmatch(pattern.c_str(), name.c_str(), 0) == 0;
}

// "first second" lines of the aliases and subclasses files.
std::vector<std::pair<std::string, std::string>> Pairs(const fs::path& file) {
    std::vector<std::pair<std::string, std::string>> out;
    const auto text = ReadDesktopFile(file);
    if (!text) return out;
    for (const std::string& line : TextLines(*text)) {
        const std::size_t blank = line.find(' ');
        if (line.empty() || line[0] == '#' || blank == std::string::npos) continue;
        out.emplace_back(line.substr(0, blank), std::string(TrimBlanks(std::string_view(line).substr(blank + 1))));
    }
    return out;
}

} // namespace

CMimeDatabase::CMimeDatabase(const std::vector<fs::path>& mimeDirs) {
    // A type marked __NOGLOBS__ in a folder drops the globs the less important folders give it.
    std::set<std::string> noGlobs;
    for (const fs::path& dir : mimeDirs) {
        std::vector<std::string> here;
        const std::size_t first = m_globs.size();
        ReadGlobs(dir, here);
        const auto dropped = std::remove_if(m_globs.begin() + long(first), m_globs.end(),
                                            [&](const CGlob& g) { return noGlobs.count(g.type) > 0; });
        m_globs.erase(dropped, m_globs.end());
        noGlobs.insert(here.begin(), here.end());
        // The more important folder's entry stays when both name one alias or subclass.
        for (auto& [alias, type] : Pairs(dir / "aliases")) m_aliases.try_emplace(alias, type);
        for (auto& [child, parent] : Pairs(dir / "subclasses")) {
            std::vector<std::string>& parents = m_parents[child];
            if (std::find(parents.begin(), parents.end(), parent) == parents.end()) parents.push_back(parent);
        }
    }
}

void CMimeDatabase::ReadGlobs(const fs::path& dir, std::vector<std::string>& noGlobsHere) {
    if (const auto globs2 = ReadDesktopFile(dir / "globs2")) {
        for (const std::string& line : TextLines(*globs2)) {
            if (line.empty() || line[0] == '#') continue;
            const std::vector<std::string> f = [&] {
                std::vector<std::string> parts;
                std::size_t s = 0;
                for (std::size_t c; parts.size() < 3 && (c = line.find(':', s)) != std::string::npos; s = c + 1)
                    parts.push_back(line.substr(s, c - s));
                parts.push_back(line.substr(s));
                return parts;
            }();
            if (f.size() < 3 || f[1].empty() || f[2].empty()) continue;
            if (f[2] == "__NOGLOBS__") {
                noGlobsHere.push_back(f[1]);
                continue;
            }
            bool cs = false;
            if (f.size() > 3)
                for (const std::string& flag : SplitList(f[3], ',')) cs = cs || flag == "cs";
            m_globs.push_back({std::atoi(f[0].c_str()), f[1], f[2], cs});
        }
        return;
    }
    // The older list: "type:pattern", all of the default weight and without regard to case.
    if (const auto globs = ReadDesktopFile(dir / "globs")) {
        for (const std::string& line : TextLines(*globs)) {
            const std::size_t colon = line.find(':');
            if (line.empty() || line[0] == '#' || colon == std::string::npos) continue;
            if (line.compare(colon + 1, std::string::npos, "__NOGLOBS__") == 0)
                noGlobsHere.push_back(line.substr(0, colon));
            else
                m_globs.push_back({50, line.substr(0, colon), line.substr(colon + 1), false});
        }
    }
}

std::string CMimeDatabase::TypeOfName(std::string_view name) const {
    const CGlob* best = nullptr;
    auto consider = [&](const CGlob& g) {
        if (!best || g.weight > best->weight || (g.weight == best->weight && g.pattern.size() > best->pattern.size()))
            best = &g;
    };
    const std::string exact(name);
    for (const CGlob& g : m_globs)
        if (GlobMatches(g.pattern, exact)) consider(g);
    if (!best) {
        const std::string lower = ToLowerAscii(name);
        for (const CGlob& g : m_globs)
            if (!g.caseSensitive && GlobMatches(ToLowerAscii(g.pattern), lower)) consider(g);
    }
    return best ? Unalias(best->type) : std::string();
}

std::string CMimeDatabase::Unalias(std::string_view type) const {
    const auto it = m_aliases.find(std::string(type));
    return it == m_aliases.end() ? std::string(type) : it->second;
}

std::vector<std::string> CMimeDatabase::TypeAndParents(std::string_view type) const {
    std::vector<std::string> out;
    if (type.empty()) return out;
    out.push_back(Unalias(type));
    for (std::size_t i = 0; i < out.size(); ++i) {
        std::vector<std::string> parents;
        if (const auto it = m_parents.find(out[i]); it != m_parents.end())
            for (const std::string& p : it->second) parents.push_back(Unalias(p));
        if (out[i].rfind("text/", 0) == 0) parents.emplace_back("text/plain");
        for (std::string& p : parents)
            if (std::find(out.begin(), out.end(), p) == out.end()) out.push_back(std::move(p));
    }
    return out;
}
