#include "textdoc/RtfReader.h"
#include "textdoc/RtfWriter.h"

#include "TestPorts.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Every feature the reader knows, the way other programs write it.
const std::string kEveryFeature = TestData("rtf/every_feature.rtf");

std::u16string ParagraphText(const CRtfParagraph& p) {
    std::u16string t;
    for (const CRtfRun& r : p.runs) t += r.text;
    return t;
}

TEST(Rtf, ReadsEveryFeatureAndWritesItBack) {
    const auto first = ReadRtf(kEveryFeature);
    ASSERT_TRUE(first);
    const std::vector<CRtfParagraph>& p = first->paragraphs;
    ASSERT_EQ(p.size(), 7u);
    const std::u16string texts[] = {
        u"Title",
        u"\u2022\tItem one",
        u"\u2022\tItem two",
        u"\u0410\u0431 red under not\u2028next",
        u"caf\u00E9 \u20AC \u20AC\U0001F600 \u03B2\u03B3\tend\u2014\u2022{}\\\u00A0",
        u"link",
        u"last without par",
    };
    for (std::size_t i = 0; i < p.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ParagraphText(p[i]), texts[i]);
    }
    using std::make_tuple;
    const CRtfCharFormat& title = p[0].runs[0].format;
    EXPECT_EQ(make_tuple(p[0].align, p[0].spaceBefore, p[0].spaceAfter), make_tuple(ERtfAlign::Center, 240, 120));
    EXPECT_EQ(make_tuple(title.bold, title.halfPoints, title.face), make_tuple(true, 32, std::u16string(u"Arial")));
    EXPECT_EQ(make_tuple(p[1].leftIndent, p[1].rightIndent, p[1].firstIndent), make_tuple(720, 360, -360));
    EXPECT_TRUE(p[1].runs.back().format.italic);
    const std::vector<CRtfRun>& runs = p[3].runs;
    EXPECT_EQ(make_tuple(p[3].align, runs[0].format.face, runs[0].format.halfPoints),
              make_tuple(ERtfAlign::Justify, std::u16string(u"Courier New"), 20));
    EXPECT_EQ(make_tuple(runs[1].text, runs[1].format.color), make_tuple(std::u16string(u"red"), 0xFF0000u));
    EXPECT_EQ(make_tuple(runs[3].text, runs[3].format.color, runs[3].format.underline, runs[4].format.underline),
              make_tuple(std::u16string(u"under"), 0x0080FFu, true, false));
    EXPECT_EQ(p[4].align, ERtfAlign::Right);

    const std::string written = WriteRtf(*first);
    const auto second = ReadRtf(written);
    ASSERT_TRUE(second);
    EXPECT_EQ(*second, *first) << written;
    EXPECT_EQ(WriteRtf(*second), written);
}

TEST(Rtf, DecodesBytesInTheFontsOrDocumentsCodePage) {
    const struct {
        std::string_view rtf;
        std::u16string text;
    } rows[] = {
        {"{\\rtf1\\ansi \\'80\\'9f\\'e9}", u"\u20AC\u0178\u00E9"},
        {"{\\rtf1\\ansi\\ansicpg1251 \\'c0\\'ff\\'b9}", u"\u0410\u044F\u2116"},
        {"{\\rtf1\\ansi\\ansicpg1250 \\'8a\\'b9}", u"\u0160\u0105"},
        {"{\\rtf1\\ansi\\ansicpg28591 \\'80}", u"\u0080"},
        // A code page we do not know reads as Latin-1.
        {"{\\rtf1\\ansi\\ansicpg932 \\'80\\'e9}", u"\u0080\u00E9"},
        {"{\\rtf1{\\fonttbl{\\f0\\fcharset238 A;}{\\f1\\fcharset204 B;}}\\f0\\'8a\\f1\\'8a}", u"\u0160\u0409"},
        // Raw 8-bit text counts like \'hh.
        {"{\\rtf1\\ansi \x80}", u"\u20AC"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.rtf);
        const auto doc = ReadRtf(r.rtf);
        ASSERT_TRUE(doc);
        ASSERT_EQ(doc->paragraphs.size(), 1u);
        EXPECT_EQ(ParagraphText(doc->paragraphs[0]), r.text);
    }
    EXPECT_FALSE(ReadRtf("plain text"));
    EXPECT_FALSE(ReadRtf("{\\rt"));
}

// Malformed files (tests/data/rtf) are read to their end without a crash, a hang or a
// sanitizer report, and what can be read is kept.
TEST(Rtf, MalformedFilesAreReadSafely) {
    std::size_t files = 0;
    for (const fs::directory_entry& e : fs::directory_iterator(fs::path(QUILLBOX_TEST_DATA) / "rtf")) {
        SCOPED_TRACE(e.path().filename().string());
        const auto doc = ReadRtf(ReadFileBytes(e.path()));
        ASSERT_TRUE(doc);
        const std::string written = WriteRtf(*doc);
        EXPECT_EQ(ReadRtf(written), doc);
        ++files;
    }
    EXPECT_GE(files, 20u);

    const struct {
        std::string_view name;
        std::string rtf;
        std::u16string text;
    } rows[] = {
        {"nesting past the limit is skipped", "{\\rtf1 a" + std::string(300, '{') + "x" + std::string(300, '}') + "b}",
         u"ab"},
        {"nesting to the limit is read",
         "{\\rtf1 a" + std::string(kRtfMaxDepth - 1, '{') + "x" + std::string(kRtfMaxDepth - 1, '}') + "b}", u"axb"},
        {"\\bin steps over its bytes", "{\\rtf1 a{\\bin3 }}}b}", u"ab"},
        {"unbalanced", "{\\rtf1 a{\\b b", u"ab"},
        {"escaped braces in skipped nesting",
         "{\\rtf1 a" + std::string(300, '{') + "\\}" + std::string(300, '}') + "b}", u"ab"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const auto doc = ReadRtf(r.rtf);
        ASSERT_TRUE(doc);
        ASSERT_EQ(doc->paragraphs.size(), 1u);
        EXPECT_EQ(ParagraphText(doc->paragraphs[0]), r.text);
    }
}

} // namespace
