// The RTF reader on any bytes: never a crash or a hang, and what it reads the writer writes so
// that reading it again gives the same text, paragraph by paragraph.
#include "FuzzSupport.h"
#include "textdoc/RtfReader.h"
#include "textdoc/RtfWriter.h"

namespace {

std::vector<std::u16string> Texts(const CRtfDocument& doc) {
    std::vector<std::u16string> out;
    for (const CRtfParagraph& p : doc.paragraphs) {
        std::u16string text;
        for (const CRtfRun& r : p.runs) text += r.text;
        out.push_back(std::move(text));
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto doc = ReadRtf(bytes);
    if (!doc) return 0;
    const auto again = ReadRtf(WriteRtf(*doc));
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(Texts(*again) == Texts(*doc));
    return 0;
}
