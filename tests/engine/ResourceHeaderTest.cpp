#include "restools/ResourceHeader.h"
#include "restools/ResourceModel.h"

#include "TestPorts.h"

#include <gtest/gtest.h>

#include <string>

// Each sample under tests/data/restools beside the text its correction must give.
TEST(CorrectResourceHeader, SamplesGiveTheirExpectedTexts) {
    for (const char* name : {"resource_sample", "resource_none"}) {
        SCOPED_TRACE(name);
        const std::string in = TestData(std::string("restools/") + name + ".h");
        const std::string expected = TestData(std::string("restools/") + name + ".expected.h");
        EXPECT_EQ(CorrectResourceHeader(in), expected);
        EXPECT_EQ(CorrectResourceHeader(Crlf(in)), Crlf(expected)); // the sample is LF only
    }
}

TEST(CorrectResourceHeader, SecondRunKeepsValuesAndAddsOneEmptyLine) {
    const std::string once = CorrectResourceHeader(Crlf(TestData("restools/resource_sample.h")));
    const std::string twice = CorrectResourceHeader(once);
    EXPECT_EQ(twice.substr(0, 45), "//{{NO_DEPENDENCIES}}\r\n// Used by sample.rc\r\n");
    EXPECT_NE(twice.find("//\r\n\r\n\r\n#define IDR_MAINFRAME  1000\r\n"), std::string::npos);
    EXPECT_EQ(twice.substr(twice.find("#define IDR")), once.substr(once.find("#define IDR")));
}

TEST(CorrectResourceHeader, PadsToTheHundredCharacterBound) {
    const std::string n100(100, 'A');
    const std::string n101 = "IDD" + std::string(98, 'B');
    const std::string n102 = "IDD" + std::string(99, 'C');
    const std::string text =
        "#define " + n100 + " 1\r\n#define " + n101 + " 2\r\n#define " + n102 + " 3\r\n#define IDD_ABOUTBOX 4\r\n";
    const std::string out = CorrectResourceHeader(text);
    // Width 102: 2 spaces after the 100-character name, 1 after 101, 2 (the minimum) after 102.
    EXPECT_NE(out.find("#define " + n101 + " 1000\r\n"), std::string::npos);
    EXPECT_NE(out.find("#define " + n102 + "  1001\r\n"), std::string::npos);
    EXPECT_NE(out.find("#define IDD_ABOUTBOX" + std::string(90, ' ') + "1002\r\n"), std::string::npos);
    EXPECT_NE(out.find("#define " + n100 + "  10000\r\n"), std::string::npos); // third byte 'A'

    const std::string narrow = CorrectResourceHeader("#define IDR_MAINFRAME 1\r\n#define IDD_ABOUTBOX 2\r\n");
    EXPECT_NE(narrow.find("#define IDD_ABOUTBOX   1001\r\n"), std::string::npos); // longest 13
}

TEST(CorrectResourceHeader, ShortTextIsParsedWithItsTrailer) {
    // Under 250 bytes nothing is taken for a trailer: its names are identifiers like the others.
    const std::string text = "#define IDS_A 1\r\n#ifdef APSTUDIO_INVOKED\r\n#define _APS_3D_CONTROLS 1\r\n#endif\r\n";
    ASSERT_LT(text.size(), 250u);
    const std::string out = CorrectResourceHeader(text);
    EXPECT_EQ(out.substr(0, out.find("\r\n// Next")),
              "\r\n#define IDS_A             32000\r\n#define _APS_3D_CONTROLS  32001\r\n");
}

TEST(CorrectResourceHeader, TrailerInTheLast200BytesIsNotFound) {
    std::string text = "#define IDC_A 1\r\n";
    text += "// " + std::string(240, '-') + "\r\n";
    text += "#ifdef APSTUDIO_INVOKED\r\n#define IDM_LATE 5\r\n#endif\r\n";
    const std::string out = CorrectResourceHeader(text);
    EXPECT_NE(out.find("#define IDM_LATE  10000\r\n#define IDC_A     10001\r\n"), std::string::npos);
}

TEST(CorrectResourceHeader, NameOnlyLineKeepsTheNextDefinition) {
    const std::string text = "#define IDC_GUARD\r\n#define IDC_NEXT 5\r\n";
    EXPECT_EQ(CorrectResourceHeader(text).substr(0, 54),
              "\r\n#define IDC_GUARD  10000\r\n#define IDC_NEXT   10001\r\n");
}

namespace {

// Which line end the rewritten part of a corrected text uses: everything from its first '#' on
// is written by the correction.
std::string RewrittenStyle(const std::string& corrected) {
    const std::string_view body = std::string_view(corrected).substr(std::min(corrected.find('#'), corrected.size()));
    return body.find("\r\n") != std::string_view::npos ? "CR LF" : "LF";
}

TEST(CorrectResourceHeader, KeepsItsLineEndsHoweverOftenItIsCorrected) {
    // The smallest case a fuzzer found, and both styles plain.
    for (const auto& [text, style] : {std::pair<std::string, const char*>{"\r#\n", "LF"},
                                      {"#define IDA 1\n", "LF"},
                                      {"// x\n#define IDA 1\r\n", "CR LF"}}) {
        SCOPED_TRACE(text);
        std::string corrected = text;
        for (int round = 1; round <= 3; ++round) {
            corrected = CorrectResourceHeader(corrected);
            EXPECT_EQ(RewrittenStyle(corrected), style) << "correction " << round;
        }
    }
}

} // namespace
