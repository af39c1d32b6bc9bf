#include "app/CMainFrame.h"
#include "app/CMdiClientWnd.h"
#include "app/CommandTable.h"
#include "textdoc/CDocumentOutput.h"
#include "textdoc/CTextDocuments.h"
#include "textdoc/CtavDoc.h"
#include "textdoc/CtavView.h"
#include "textdoc/RtfReader.h"
#include "textdoc/RtfTextDocument.h"
#include "textdoc/SendMail.h"

#include "TextDocsFixture.h"

#include <QPrinter>
#include <QTest>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

using CRtfFixture = CTextDocsFixture;

fs::path HelpSource() { return fs::path(QUILLBOX_TEST_DATA).parent_path().parent_path() / "res" / "Help.rtf"; }

QTextCharFormat FormatAt(const QTextDocument& doc, int pos) {
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(pos + 1);
    return c.charFormat();
}

TEST(RtfDocuments, OpenEditSaveAndReopenKeepTheFormatting) {
    CRtfFixture f;
    const fs::path file =
        f.home.Write("work/a.RTF", "{\\rtf1{\\colortbl;\\red200\\green0\\blue0;}plain {\\b\\cf1 bold}\\par}");
    CtavView* v = f.Open(file);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->Document()->Kind(), CtavDoc::kRtfDocument);
    EXPECT_FALSE(f.docs->IsKeywordComboShown());
    EXPECT_EQ(v->toPlainText(), QStringLiteral("plain bold"));
    QTextCursor c = v->textCursor();
    c.movePosition(QTextCursor::End);
    c.insertText(QStringLiteral("!"));
    EXPECT_TRUE(v->Save(kIdFileSave));
    EXPECT_TRUE(ReadFileBytes(file).starts_with("{\\rtf1"));

    CRtfFixture g;
    CtavView* again = g.Open(file);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->toPlainText(), QStringLiteral("plain bold!"));
    EXPECT_EQ(FormatAt(*again->document(), 7).fontWeight(), QFont::Bold);
    EXPECT_EQ(FormatAt(*again->document(), 7).foreground().color(), QColor(200, 0, 0));
    EXPECT_NE(FormatAt(*again->document(), 1).fontWeight(), QFont::Bold);

    // The name decides what Save As writes: plain text for .txt, RTF for .rtf and .doc.
    const struct {
        const char* name;
        bool rtf;
    } rows[] = {{"copy.txt", false}, {"copy.doc", true}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        g.ports.pickers.answers = {(g.home.Work() / r.name).string()};
        EXPECT_TRUE(again->Save(kIdSaveToAnotherFile));
        const std::string bytes = ReadFileBytes(g.home.Work() / r.name);
        EXPECT_EQ(bytes.starts_with("{\\rtf1"), r.rtf);
        if (!r.rtf) {
            EXPECT_EQ(bytes, "plain bold!");
        }
    }
}

TEST(RtfDocuments, PlainTextBecomesRtfAndAnRtfNameWithoutRtfIsText) {
    CRtfFixture f;
    CtavView* v = f.Open(f.home.Write("work/p.txt", "a {b} \\c\n"));
    ASSERT_NE(v, nullptr);
    f.ports.pickers.answers = {(f.home.Work() / "p.rtf").string()};
    EXPECT_TRUE(v->Save(kIdFileSaveAs));
    const auto rtf = ReadRtf(ReadFileBytes(f.home.Work() / "p.rtf"));
    ASSERT_TRUE(rtf);
    ASSERT_EQ(rtf->paragraphs.size(), 2u);
    EXPECT_EQ(rtf->paragraphs[0].runs.at(0).text, u"a {b} \\c");

    CtavView* t = f.Open(f.home.Write("work/fake.rtf", "just text"));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->Document()->Kind(), CtavDoc::kOtherText);
}

TEST(RtfDocuments, HelpOpensAsRichTextFromEachOfItsPlaces) {
    for (const char* place : {"home/Help.rtf", "program/Help.rtf", ""}) {
        SCOPED_TRACE(place);
        CRtfFixture f;
        if (*place) f.home.Write(place, ReadFileBytes(HelpSource()));
        f.frame.UpdateCommandUi();
        f.frame.RunCommand(kIdHelp);
        CtavView* v = f.docs->ActiveView();
        if (!*place) {
            EXPECT_EQ(v, nullptr);
            EXPECT_EQ(f.ports.prompt.LastText(), "Sorry, can not to find \"Help.rtf\" file.");
            continue;
        }
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->Document()->Path(), f.home.Root() / place);
        EXPECT_EQ(v->Document()->Kind(), CtavDoc::kRtfDocument);
    }
}

TEST(RtfDocuments, PrintsRichText) {
    CRtfFixture f;
    CtavView* v = f.Open(f.home.Write("work/r.rtf", "{\\rtf1 {\\b rich}\\par}"));
    ASSERT_NE(v, nullptr);
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    const fs::path target = f.home.Work() / "r.pdf";
    pdf.setOutputFileName(QString::fromStdString(target.string()));
    f.docs->Output().PrintView(*v, pdf);
    EXPECT_TRUE(ReadFileBytes(target).starts_with("%PDF"));
    EXPECT_TRUE(f.frame.IsCommandEnabled(kIdFilePrintSetup));
    EXPECT_TRUE(f.frame.IsCommandEnabled(kIdFilePrintPreview));
}

TEST(RtfDocuments, SendMailHandsTheTextToXdgEmail) {
    const struct {
        const char* name;
        const char* script;
        std::string message;
    } rows[] = {
        {"fails", "exit 3", std::string(MailFailureText(EMailFailure::NotSent))},
        {"sends", "printf '%s\\n' \"$@\" > \"$0.args\"; /bin/cat \"$2\" > \"$0.body\"", ""},
    };
    const QByteArray oldPath = qgetenv("PATH");
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        CRtfFixture f;
        const fs::path bin = f.home.Work() / "bin";
        fs::create_directories(bin);
        f.home.Write("work/bin/xdg-email", std::string("#!/bin/sh\n") + r.script + "\n");
        fs::permissions(bin / "xdg-email", fs::perms::owner_all);
        qputenv("PATH", QByteArray::fromStdString(bin.string()));
        CtavView* v = f.Open(f.home.Write("work/m.txt", "saved"));
        ASSERT_NE(v, nullptr);
        v->selectAll();
        v->insertPlainText(QStringLiteral("unsaved"));
        f.frame.UpdateCommandUi();
        f.frame.RunCommand(kIdSendMail);
        if (!r.message.empty()) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return f.ports.prompt.LastText() == r.message; }, 20000));
            continue;
        }
        const fs::path body = bin / "xdg-email.body";
        EXPECT_TRUE(QTest::qWaitFor([&] { return fs::exists(body) && fs::exists(bin / "xdg-email.args"); }, 20000));
        QTest::qWait(100);
        EXPECT_TRUE(ReadFileBytes(bin / "xdg-email.args").starts_with("--attach\n/"));
        EXPECT_EQ(ReadFileBytes(body), "unsaved");
        EXPECT_TRUE(f.ports.prompt.Shown().empty());
    }
    qputenv("PATH", oldPath);
}

} // namespace
