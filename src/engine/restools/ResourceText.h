#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

class CPrompt;

// Resource scripts saved by the Windows resource editor are often UTF-16 with a byte-order mark.
// The tools read such a file as the same text in UTF-8 would be, so identifiers count and ranges
// fall on characters; any other file is taken byte for byte.
std::string ResourceTextOfBytes(std::string bytes);
bool StartsWithUtf16Bom(std::string_view bytes);
// ReadWholeFile, then ResourceTextOfBytes.
std::optional<std::string> ReadResourceText(CPrompt& prompt, const std::filesystem::path& path);
