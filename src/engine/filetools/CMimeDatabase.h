#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The shared MIME-info database as the desktop reads it, from the files update-mime-database
// compiles into each mime folder: globs2 (globs where a folder has only that), aliases and
// subclasses. Read once at construction; a database changed since needs a new instance.
class CMimeDatabase {
public:
    // Folders most important first: the user's ($XDG_DATA_HOME/mime), then the system's.
    explicit CMimeDatabase(const std::vector<std::filesystem::path>& mimeDirs);

    // The type the globs give a file name: a case-sensitive match first, else one without
    // regard to case; the heaviest glob wins, then the longest. Empty when none matches. An
    // extension alone (".c") is looked up as a name.
    std::string TypeOfName(std::string_view name) const;
    std::string Unalias(std::string_view type) const;
    // type (unaliased) and the types it is a kind of, nearest first, each once: the subclasses
    // the database lists and, for every text type, text/plain.
    std::vector<std::string> TypeAndParents(std::string_view type) const;

private:
    struct CGlob {
        int weight;
        std::string type;
        std::string pattern;
        bool caseSensitive;
    };
    void ReadGlobs(const std::filesystem::path& dir, std::vector<std::string>& noGlobsHere);

    std::vector<CGlob> m_globs; // most important folder first, file order within
    std::unordered_map<std::string, std::string> m_aliases;
    std::unordered_map<std::string, std::vector<std::string>> m_parents;
};
