#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

// One private folder per process for targets whose code under test reads a file; removed at exit.
class CFuzzTempDir {
public:
    CFuzzTempDir() : m_dir(std::filesystem::temp_directory_path() / ("quillbox-fuzz-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(m_dir);
    }
    ~CFuzzTempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    const std::filesystem::path& Dir() const { return m_dir; }
    std::filesystem::path Write(const std::string& name, std::string_view bytes) const {
        const auto path = m_dir / name;
        std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
        return path;
    }

private:
    std::filesystem::path m_dir;
};
