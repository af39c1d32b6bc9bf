#include "restools/ResourceText.h"

#include "app/FileAccess.h"
#include "textdoc/CTextEncoding.h"

bool StartsWithUtf16Bom(std::string_view bytes) {
    return bytes.size() >= 2 &&
           ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
}

std::string ResourceTextOfBytes(std::string bytes) {
    if (!StartsWithUtf16Bom(bytes)) return bytes;
    std::u16string view;
    return CTextEncoding::Decode(bytes, view).EngineText(bytes);
}

std::optional<std::string> ReadResourceText(CPrompt& prompt, const std::filesystem::path& path) {
    auto bytes = ReadWholeFile(prompt, path);
    if (bytes) *bytes = ResourceTextOfBytes(std::move(*bytes));
    return bytes;
}
