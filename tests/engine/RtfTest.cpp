#include "textdoc/RtfReader.h"
#include "textdoc/RtfWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// Every feature the reader knows, the way other programs write it.
constexpr std::string_view kEveryFeature =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
    "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fmodern\\fcharset204{\\*\\panose 0}Courier New;}"
    "{\\f2\\fnil\\fcharset2 Symbol;}}"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue255;}"
    "{\\stylesheet{\\s0 Normal;}}{\\info{\\title hidden}}{\\*\\generator x;}"
    "\\pard\\qc\\sb240\\sa120{\\b\\fs32 Title}\\par"
    "\\pard\\li720\\ri360\\fi-360{\\listtext\\f2\\'b7\\tab}Item {\\i one}\\par"
    "{\\pntext\\'95\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb x}}Item two\\par"
    "\\pard\\qj\\plain\\f1\\fs20 \\'c0\\'e1 \\cf1 red\\cf0  {\\cf2\\ul under\\ulnone  not}\\line next\\par"
    "\\pard\\qr\\f0 caf\\'e9 \\'80 \\u8364?\\u-10179?\\u-8704? {\\uc0\\u946}\\uc2\\u947 xy\\tab{\\pict\\bin4 {{{}}end"
    "\\emdash\\bullet\\{\\}\\\\\\~\\par"
    "{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}}\\par"
    "\\pard last without par}"
    "trailing garbage";

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
    EXPECT_EQ(p[0].align, ERtfAlign::Center);
    EXPECT_EQ(p[0].spaceBefore, 240);
    EXPECT_EQ(p[0].spaceAfter, 120);
    EXPECT_TRUE(p[0].runs[0].format.bold);
    EXPECT_EQ(p[0].runs[0].format.halfPoints, 32);
    EXPECT_EQ(p[0].runs[0].format.face, u"Arial");
    EXPECT_EQ(p[1].leftIndent, 720);
    EXPECT_EQ(p[1].rightIndent, 360);
    EXPECT_EQ(p[1].firstIndent, -360);
    EXPECT_TRUE(p[1].runs.back().format.italic);
    const std::vector<CRtfRun>& runs = p[3].runs;
    EXPECT_EQ(runs[0].format.face, u"Courier New");
    EXPECT_EQ(runs[0].format.halfPoints, 20);
    EXPECT_EQ(p[3].align, ERtfAlign::Justify);
    EXPECT_EQ(runs[1].text, u"red");
    EXPECT_EQ(runs[1].format.color, 0xFF0000u);
    EXPECT_EQ(runs[3].text, u"under");
    EXPECT_EQ(runs[3].format.color, 0x0080FFu);
    EXPECT_TRUE(runs[3].format.underline);
    EXPECT_FALSE(runs[4].format.underline);
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
        std::ifstream in(e.path(), std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        const auto doc = ReadRtf(bytes.str());
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
        {"nesting past the limit is skipped", "{\\rtf1 a" + std::string(300, '{') + "x" + std::string(300, '}') + "b}", u"ab"},
        {"nesting to the limit is read", "{\\rtf1 a" + std::string(kRtfMaxDepth - 1, '{') + "x" + std::string(kRtfMaxDepth - 1, '}') + "b}", u"axb"},
        {"\\bin steps over its bytes", "{\\rtf1 a{\\bin3 }}}b}", u"ab"},
        {"unbalanced", "{\\rtf1 a{\\b b", u"ab"},
        {"escaped braces in skipped nesting", "{\\rtf1 a" + std::string(300, '{') + "\\}" + std::string(300, '}') + "b}", u"ab"},
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
