#include "TestPorts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

EPromptAnswer CScriptedPrompt::Ask(std::string_view text, std::string_view caption, EPromptButtons buttons, EPromptIcon,
                                   int) {
    m_shown.push_back({std::string(text), std::string(caption), buttons});
    if (buttons == EPromptButtons::Ok) {
        if (!m_answers.empty() && m_answers.front() == EPromptAnswer::Ok) m_answers.pop_front();
        return EPromptAnswer::Ok;
    }
    if (m_answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text;
        return buttons == EPromptButtons::OkCancel ? EPromptAnswer::Cancel : EPromptAnswer::No;
    }
    const EPromptAnswer a = m_answers.front();
    m_answers.pop_front();
    return a;
}

std::vector<std::string> CScriptedPrompt::Texts() const {
    std::vector<std::string> out;
    for (const auto& s : m_shown) out.push_back(s.text);
    return out;
}

std::string CScriptedPickers::Take(std::string_view title, const fs::path& initial) {
    titles.emplace_back(title);
    initials.push_back(initial);
    if (answers.empty()) return {};
    std::string a = answers.front();
    answers.pop_front();
    return a;
}

CTempHome::CTempHome() {
    std::string tmpl = (fs::temp_directory_path() / "quillbox-test-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    m_root = tmpl;
    fs::create_directories(Home());
    fs::create_directories(Work());
    const std::pair<const char*, fs::path> vars[] = {{"QUILLBOX_HOME", Home()},
                                                     {"HOME", m_root / "user"},
                                                     {"XDG_CONFIG_HOME", m_root / "user" / ".config"},
                                                     {"XDG_DATA_HOME", m_root / "user" / ".local" / "share"},
                                                     {"XDG_CACHE_HOME", m_root / "user" / ".cache"}};
    for (const auto& [name, value] : vars) {
        const char* old = std::getenv(name);
        m_savedEnv.emplace_back(name, old ? old : std::string("\x01"));
        ::setenv(name, value.c_str(), 1);
    }
}

CTempHome::~CTempHome() {
    for (const auto& [name, value] : m_savedEnv) {
        if (value == "\x01") ::unsetenv(name.c_str());
        else
            ::setenv(name.c_str(), value.c_str(), 1);
    }
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(m_root, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(m_root, ec);
}

fs::path CTempHome::Write(const fs::path& rel, std::string_view content) const {
    const fs::path p = rel.is_absolute() ? rel : m_root / rel;
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary).write(content.data(), std::streamsize(content.size()));
    return p;
}

std::string ReadFileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Utf16WithBom(std::string_view utf8, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const int len = b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        unsigned cp = len == 3 ? b & 0x0F : len == 2 ? b & 0x1F : b;
        for (int k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += std::size_t(len);
        out += bigEndian ? char(cp >> 8) : char(cp & 0xFF);
        out += bigEndian ? char(cp & 0xFF) : char(cp >> 8);
    }
    return out;
}

std::string Crlf(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

std::string TestData(const fs::path& rel) { return ReadFileBytes(fs::path(QUILLBOX_TEST_DATA) / rel); }
