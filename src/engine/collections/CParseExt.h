#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class CPrompt;

// The extension filter of a collection: the list the user typed ("*.txt; doc,rtf|h") turned
// into tokens without dots, printed back in the normal form "txt, doc, rtf, h" that collection
// headers and settings hold. No tokens means every file passes. Tokens keep their case and their
// full length; matching ignores ASCII case.
class CParseExt {
public:
    static constexpr std::size_t kCapacity = 20;

    CParseExt() = default;
    virtual ~CParseExt() = default;

    // Builds the token set. Empty text: "Error in CParseExt::ParsingExtensionToken(LPCSTR ext)"
    // through prompt, and false with the filter left unparsed and empty.
    bool ParsingExtensionToken(CPrompt& prompt, std::string_view ext);
    // "*.*" with no tokens, else the tokens joined with ", ".
    std::string GetExtensionList() const;
    // name may be a bare file name or a path; only the last component is tested.
    bool IsMatch(std::string_view name) const;

    // Matching files under directory, up to limit (the result is then limit). Unlistable
    // folders count nothing, silently. Unparsed: "First need to call ParsingExtensionToken()!"
    // and 0.
    std::size_t CountMatchingFiles(CPrompt& prompt, std::string_view directory, std::size_t limit) const;
    // Files whose name ends with pattern without its leading '*' ("*.dsp" counts "a.dsp" and
    // "B.DSP" but not "adsp"), without regard to case; an empty pattern counts every file.
    static std::size_t CountFilesBySuffix(std::string_view directory, std::string_view pattern, std::size_t limit);

    bool IsParsed() const { return m_parsed; }
    const std::vector<std::string>& Tokens() const { return m_tokens; }
    void Reset();

private:
    std::vector<std::string> m_tokens;
    bool m_parsed = false;
};
