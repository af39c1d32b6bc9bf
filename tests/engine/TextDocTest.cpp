#include "app/CMemorySettings.h"
#include "app/SettingsKeys.h"
#include "textdoc/CTextEncoding.h"
#include "textdoc/TextFind.h"
#include "textdoc/ViewFont.h"

#include "TestPorts.h"

#include <gtest/gtest.h>

namespace {

TEST(TextEncoding, DecodesAndWritesBackTheSameBytes) {
    const struct {
        const char* name;
        std::string bytes;
        EFileEncoding encoding;
        std::u16string view;
    } rows[] = {
        {"empty", "", EFileEncoding::Utf8, u""},
        {"utf8 lf", "a\xC3\xA4\nb\n", EFileEncoding::Utf8, u"a\u00E4\nb\n"},
        {"utf8 crlf, no last line end", "x\r\ny\r\nz", EFileEncoding::Utf8, u"x\ny\nz"},
        {"utf8 with its mark", "\xEF\xBB\xBFhi\r\n", EFileEncoding::Utf8, u"hi\n"},
        {"utf8 outside the BMP", "\xF0\x9F\x98\x80!", EFileEncoding::Utf8, u"\U0001F600!"},
        {"mixed line ends", "a\r\nb\nc\rd", EFileEncoding::Utf8, u"a\nb\nc\nd"},
        {"latin-1", "caf\xE9\xA0\r\n", EFileEncoding::Latin1, u"caf\u00E9\u00A0\n"},
        {"overlong is not utf8", "\xC0\xAF", EFileEncoding::Latin1, u"\u00C0\u00AF"},
        {"encoded surrogate is not utf8", "\xED\xA0\x80", EFileEncoding::Latin1, u"\u00ED\u00A0\u0080"},
        {"utf16 le crlf", Utf16WithBom("\u00E4b\r\nc"), EFileEncoding::Utf16Le, u"\u00E4b\nc"},
        {"utf16 be", Utf16WithBom("x\ny\n", true), EFileEncoding::Utf16Be, u"x\ny\n"},
        // Utf16WithBom copies the UTF-8 form of a surrogate as it is.
        {"utf16 lone surrogate and odd byte", Utf16WithBom("a\xED\xA0\x80") + "!", EFileEncoding::Utf16Le, u"a\xD800"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        std::u16string view;
        const CTextEncoding enc = CTextEncoding::Decode(r.bytes, view);
        EXPECT_EQ(enc.Encoding(), r.encoding);
        EXPECT_TRUE(view == r.view);
        EXPECT_EQ(enc.Encode(view), r.bytes);
    }
}

TEST(TextEncoding, EditedTextKeepsTheFilesWay) {
    std::u16string view;
    const CTextEncoding crlf = CTextEncoding::Decode("a\r\nb", view);
    EXPECT_EQ(crlf.Encode(u"a\nb\nnew\n"), "a\r\nb\r\nnew\r\n");
    // The widget's paragraph separator is a line end as well.
    EXPECT_EQ(crlf.Encode(u"a\u2029b"), "a\r\nb");
    const CTextEncoding latin1 = CTextEncoding::Decode("\xE9", view);
    EXPECT_EQ(latin1.Encode(u"\u20AC"), std::nullopt);
    EXPECT_EQ(latin1.EncodeAsUtf8(u"\u00E9\u20AC\n"), "\xC3\xA9\xE2\x82\xAC\n");
}

TEST(TextEncoding, MapsEngineOffsetsToViewPositions) {
    // "wörd" twice, CR LF lines, a long ASCII run so the walk starts from later check points.
    const std::string filler(300, 'x');
    const std::string utf8 = "\xC3\xA4\r\n" + filler + "\r\nw\xC3\xB6rd \xF0\x9F\x98\x80w\xC3\xB6rd";
    std::u16string view;
    const CTextEncoding enc = CTextEncoding::Decode(utf8, view);
    const std::size_t first = utf8.find("w\xC3\xB6rd");
    const std::size_t second = utf8.find("w\xC3\xB6rd", first + 1);
    const struct {
        std::size_t engine;
        std::u16string_view at;
    } rows[] = {{first, u"w\u00F6rd"}, {second, u"w\u00F6rd"}, {first + 1, u"\u00F6rd"}, {2, u"\n"}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.engine);
        const std::size_t pos = enc.ViewPosOfEngineOffset(r.engine);
        EXPECT_TRUE(view.substr(pos, r.at.size()) == r.at);
        EXPECT_EQ(enc.EngineOffsetOfViewPos(pos), r.engine);
    }
    // Inside a character: its start. Past the end: the end.
    EXPECT_EQ(enc.ViewPosOfEngineOffset(first + 2), enc.ViewPosOfEngineOffset(first + 1));
    EXPECT_EQ(enc.ViewPosOfEngineOffset(utf8.size() + 10), view.size());

    // UTF-16: the engine's offsets are those of the UTF-8 form; a UTF-8 mark counts in the engine.
    const std::string utf16 = Utf16WithBom("\xC3\xA4\r\nabc");
    const CTextEncoding enc16 = CTextEncoding::Decode(utf16, view);
    EXPECT_EQ(enc16.EngineText(utf16), "\xC3\xA4\r\nabc");
    EXPECT_EQ(enc16.ViewPosOfEngineOffset(4), 2u);
    EXPECT_EQ(enc16.ViewPosOfFileOffset(2 + 6), 2u);
    const CTextEncoding bom = CTextEncoding::Decode("\xEF\xBB\xBFxy", view);
    EXPECT_EQ(bom.ViewPosOfEngineOffset(4), 1u);
}

TEST(TextFind, FindsWithTheDesignsWordRules) {
    const struct {
        std::string_view text, word;
        bool matchCase, wholeWord;
        std::optional<CFoundRange> found;
    } rows[] = {
        {"words word", "word", false, true, CFoundRange{6, 10}},
        {"words word", "word", false, false, CFoundRange{0, 4}},
        {"word Word", "Word", true, false, CFoundRange{5, 9}},
        {"word Word", "Word", false, false, CFoundRange{0, 4}},
        {"sword word", "word", false, true, CFoundRange{6, 10}},
        {"a.word_b (word)", "word", false, true, CFoundRange{10, 14}},
        {"wor", "word", false, false, std::nullopt},
        {"", "", false, false, std::nullopt},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.text) + " / " + std::string(r.word));
        EXPECT_EQ(FindText(r.text, r.word, 0, r.matchCase, r.wholeWord), r.found);
    }
    const std::string_view t = "foo(bar_baz) x";
    EXPECT_EQ(WordAtCaret(t, 6), (CFoundRange{4, 11}));
    EXPECT_EQ(WordAtCaret(t, 4), (CFoundRange{4, 4})); // the character before is a delimiter
    EXPECT_EQ(WordAtCaret(t, 3), (CFoundRange{3, 3}));
}

TEST(KeywordList, KeepsTenUniqueWordsMostRecentFirst) {
    CKeywordList list;
    for (int i = 0; i < 11; ++i) list.Add("w" + std::to_string(i));
    ASSERT_EQ(list.Words().size(), 10u);
    EXPECT_EQ(list.Words().front(), "w10");
    EXPECT_EQ(list.Words().back(), "w1");
    list.Add("alpha");
    list.Add("beta");
    list.Add("Alpha");
    EXPECT_EQ(list.Words()[0], "Alpha");
    EXPECT_EQ(list.Words()[1], "beta");
    CMemorySettings settings;
    list.Save(settings);
    EXPECT_EQ(settings.Get(kComboListCount), 10);
    settings.Set(kComboList3, "ALPHA"); // a duplicate and an empty entry are skipped on load
    settings.Set(kComboList4, "");
    CKeywordList again;
    again.Load(settings);
    EXPECT_EQ(again.Words().size(), 8u);
    EXPECT_EQ(again.Words()[0], "Alpha");
}

TEST(ViewFont, StoredTextAndDialogHeights) {
    EXPECT_EQ(TwipsOfDialogSize(12), 192u);
    EXPECT_EQ(TwipsOfDialogSize(-12), 192u);
    EXPECT_EQ(DialogSizeOfTwips(200), 12);
    const CViewFont f{"Courier new", 240, CViewFont::kBold | CViewFont::kItalic};
    EXPECT_EQ(FormatViewFont(f), "Courier new;240;3");
    EXPECT_EQ(ParseViewFont("Courier new;240;3"), f);
    EXPECT_EQ(ParseViewFont("Face;with;semicolons;100;0")->face, "Face;with;semicolons");
    EXPECT_EQ(ParseViewFont("bad"), std::nullopt);
    EXPECT_EQ(ParseViewFont("x;0;0"), std::nullopt);
}

} // namespace
