#pragma once

// Shared by every fuzz target and by the corpus replay of the test build. A target defines
// LLVMFuzzerTestOneInput and nothing else; the fuzzer or ReplayMain.cpp supplies main.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

// An oracle disagreement is a finding like a crash: the fuzzer keeps the input as a crasher.
#define FUZZ_CHECK(cond)                                                                       \
    do {                                                                                       \
        if (!(cond)) {                                                                         \
            std::fprintf(stderr, "%s:%d: FUZZ_CHECK failed: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

// Cuts an input into parts at a separator byte; the last part is the rest, separators and all,
// so text handed to the code under test may still hold that byte.
class CFuzzInput {
public:
    CFuzzInput(const std::uint8_t* data, std::size_t size) : m_rest(reinterpret_cast<const char*>(data), size) {}

    std::string_view Part(char separator = '\0') {
        const std::size_t at = m_rest.find(separator);
        const std::string_view part = m_rest.substr(0, at);
        m_rest = at == std::string_view::npos ? std::string_view() : m_rest.substr(at + 1);
        return part;
    }
    // One byte of options, 0 when the input is used up.
    unsigned char Byte() {
        if (m_rest.empty()) return 0;
        const unsigned char b = static_cast<unsigned char>(m_rest[0]);
        m_rest.remove_prefix(1);
        return b;
    }
    std::string_view Rest() const { return m_rest; }

private:
    std::string_view m_rest;
};

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
