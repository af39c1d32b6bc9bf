// The extension list of a collection: the normal form it prints parses back to the same tokens,
// and a file with one of the tokens as its extension passes the filter.
#include "FuzzSupport.h"

#include "app/QuietPorts.h"
#include "collections/CParseExt.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CFuzzInput in(data, size);
    const std::string_view list = in.Part('\n');
    const std::string_view name = in.Rest();
    CFixedAnswerPrompt prompt(false);

    CParseExt ext;
    const bool parsed = ext.ParsingExtensionToken(prompt, list);
    FUZZ_CHECK(parsed == ext.IsParsed());
    if (!parsed) return 0;
    (void)ext.IsMatch(name);
    const std::string normal = ext.GetExtensionList();
    CParseExt again;
    FUZZ_CHECK(again.ParsingExtensionToken(prompt, normal));
    FUZZ_CHECK(again.Tokens() == ext.Tokens());
    FUZZ_CHECK(again.GetExtensionList() == normal);
    if (ext.Tokens().empty()) FUZZ_CHECK(ext.IsMatch(name));
    // A token holding '/' can never be the end of a file name.
    for (const std::string& token : ext.Tokens())
        if (token.find('/') == std::string::npos) FUZZ_CHECK(ext.IsMatch("dir/file." + token));
    return 0;
}
