#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

// A temporary folder for one benchmark program, removed at exit. Never destroyed: the clean-up at
// exit still needs it.
inline std::filesystem::path Root() {
    static const std::filesystem::path* root = [] {
        std::string tmpl = (std::filesystem::temp_directory_path() / "quillbox-bench-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) std::abort();
        auto* p = new std::filesystem::path(tmpl);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(Root(), ec);
        });
        return p;
    }();
    return *root;
}
