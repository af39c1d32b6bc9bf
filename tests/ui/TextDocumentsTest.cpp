#include "app/CMainFrame.h"
#include "app/CMdiClientWnd.h"
#include "app/CommandTable.h"
#include "collections/CCollectionCommands.h"
#include "textdoc/CReplaceTextDlg.h"
#include "textdoc/CTextDocuments.h"
#include "textdoc/CtavDoc.h"
#include "textdoc/CtavView.h"

#include "TextDocsFixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

std::vector<QString> MarkedTexts(CtavView& v) {
    std::vector<QString> texts;
    for (const QTextEdit::ExtraSelection& s : v.extraSelections()) texts.push_back(s.cursor.selectedText());
    return texts;
}

// Offsets in other encodings: TextEncoding.MapsEngineOffsetsToViewPositions.
TEST(TextDocuments, MarksLandOnTheKeywordsPastCrLfAndWideCharacters) {
    CTextDocsFixture f;
    f.SearchFor("w\xC3\xB6rd");
    const std::string bytes = "\xC3\xA4\xC3\xB6\r\nzz W\xC3\xB6rd\r\n\xE2\x82\xAC w\xC3\xB6rd.\r\n";
    CtavView* v = f.Open(f.home.Write("m.txt", bytes), true);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(MarkedTexts(*v), (std::vector<QString>{QStringLiteral("W\u00F6rd"), QStringLiteral("w\u00F6rd")}));
    EXPECT_EQ(v->extraSelections().front().format.foreground().color(), QColor(0, 0, 255));
    v->RunCommand(kIdGoToNextFound);
    v->RunCommand(kIdGoToNextFound);
    EXPECT_EQ(v->textCursor().selectedText(), QStringLiteral("w\u00F6rd"));
    v->RunCommand(kIdGoToNextFound);
    EXPECT_EQ(f.ports.prompt.LastText(), "End of all found keywords.");
    QTest::keyClick(v, Qt::Key_X);
    EXPECT_TRUE(v->extraSelections().isEmpty());
}

TEST(TextDocuments, LargeTextArrivesInSlicesYetSavesAndMarksWhole) {
    CTextDocsFixture f;
    std::string bytes = "needle\r\n";
    for (int i = 0; i < 3000; ++i) bytes += "a line of text that fills the window \xC3\xA4\r\n";
    bytes += "last needle\r\n";
    f.SearchFor("needle");
    CtavView* v = f.Open(f.home.Write("big.txt", bytes), true);
    ASSERT_NE(v, nullptr);
    EXPECT_TRUE(v->Document()->IsLoading());
    EXPECT_TRUE(v->isReadOnly());
    const fs::path copy = f.home.Work() / "copy.txt";
    f.ports.pickers.answers = {copy.string()};
    EXPECT_TRUE(v->Save(kIdSaveToAnotherFile));
    EXPECT_EQ(ReadFileBytes(copy), bytes);
    EXPECT_FALSE(v->Document()->IsLoading());
    EXPECT_FALSE(v->isReadOnly());
    // An insertion that is not typing (a paste) moves the marks with the words.
    QTextCursor(v->document()).insertText(QStringLiteral("pasted "));
    for (int i = 0; i < 2; ++i) {
        v->RunCommand(kIdGoToNextFound);
        EXPECT_EQ(v->textCursor().selectedText(), QStringLiteral("needle"));
    }
}

TEST(TextDocuments, SavingGivesBackTheSameBytes) {
    // The encodings themselves: TextEncoding.DecodesAndWritesBackTheSameBytes.
    const std::string rows[] = {"caf\xE9\r\nno last line end", "a\r\nb\nc"};
    for (const std::string& bytes : rows) {
        SCOPED_TRACE(bytes);
        CTextDocsFixture f;
        const fs::path file = f.home.Write("s.txt", bytes);
        CtavView* v = f.Open(file);
        ASSERT_NE(v, nullptr);
        // An edit and its undo, then Save.
        QTest::keyClick(v, Qt::Key_Q);
        EXPECT_TRUE(v->IsCommandEnabled(kIdFileSave));
        v->RunCommand(kIdEditUndo);
        v->document()->setModified(true);
        EXPECT_TRUE(v->Save(kIdFileSave));
        EXPECT_EQ(ReadFileBytes(file), bytes);
        // Save As and 10039 of the unchanged text.
        const fs::path copy = f.home.Work() / "copy.txt", other = f.home.Work() / "other.txt";
        f.ports.pickers.answers = {copy.string(), other.string()};
        EXPECT_TRUE(v->Save(kIdFileSaveAs));
        EXPECT_TRUE(v->Save(kIdSaveToAnotherFile));
        EXPECT_EQ(ReadFileBytes(copy), bytes);
        EXPECT_EQ(ReadFileBytes(other), bytes);
        EXPECT_EQ(v->Document()->Path(), copy); // 10039 keeps the document's file
        EXPECT_EQ(v->accessibleName(), QStringLiteral("copy.txt"));
    }
}

TEST(TextDocuments, ReadOnlyQuestionBothWays) {
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes);
        CTextDocsFixture f;
        const fs::path file = f.home.Write("a.txt", "text\n");
        const fs::path locked = f.home.Write("ro.txt", "old\n");
        ::chmod(locked.c_str(), 0444);
        CtavView* v = f.Open(file);
        ASSERT_NE(v, nullptr);
        f.ports.pickers.answers = {locked.string(), f.home.Work().string() + "/fresh.txt"};
        f.ports.prompt.Answer(yes ? EPromptAnswer::Yes : EPromptAnswer::No);
        EXPECT_TRUE(v->Save(kIdFileSaveAs));
        EXPECT_EQ(f.ports.prompt.Shown().front().text,
                  "This file has a readonly attribute.\r\n\r\nWhat do you like to rewriting it in any case?");
        EXPECT_EQ(ReadFileBytes(locked), yes ? "text\n" : "old\n");
        // No goes back to the dialog, which then names another file.
        EXPECT_EQ(f.ports.pickers.titles.size(), yes ? 1u : 2u);
    }
}

TEST(TextDocuments, RefusesWhatItCannotShow) {
    const struct {
        const char* name;
        std::string bytes, message;
        bool shown;
    } rows[] = {
        {"bin.txt", std::string("\x01\x02\x00\x03", 4), "It's not a textual file.", false},
        {"x.txt", "{\\RTF1 raw}", "It's RTF- format.\r\nPlease load a textual file.", true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        CTextDocsFixture f;
        CtavView* v = f.Open(f.home.Write(r.name, r.bytes));
        EXPECT_EQ(f.ports.prompt.LastText(), r.message);
        ASSERT_EQ(v != nullptr, r.shown);
        if (v) {
            EXPECT_EQ(v->toPlainText().toStdString(), r.bytes) << "shown as text";
        }
    }
}

TEST(TextDocuments, FindAndTheKeywordCombo) {
    CTextDocsFixture f;
    CtavView* v = f.Open(f.home.Write("w.txt", "words word"));
    ASSERT_NE(v, nullptr);
    v->FindWord() = QStringLiteral("word");
    v->WholeWord() = true;
    v->FindNext();
    EXPECT_EQ(v->textCursor().selectionStart(), 6);
    v->FindNext();
    EXPECT_EQ(f.ports.prompt.LastText(), "Found nothing more.");
    EXPECT_EQ(v->textCursor().position(), 0);

    // F3 finds the combo box's word from where the last search stopped.
    v->WholeWord() = false;
    f.frame.UpdateCommandUi();
    f.frame.RunCommand(kIdFindKeyword);
    f.frame.RunCommand(kIdFindKeyword);
    EXPECT_EQ(v->textCursor().selectionStart(), 6);
    // Which ten words the combo keeps: KeywordList.KeepsTenUniqueWordsMostRecentFirst.
    EXPECT_TRUE(f.docs->IsKeywordComboShown());
    f.frame.MdiArea()->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(f.docs->Views().empty());
    EXPECT_FALSE(f.docs->IsKeywordComboShown());
    EXPECT_EQ(f.docs->RecentFiles().front().filename(), "w.txt");
}

} // namespace

TEST(TextDocuments, ReplaceOneThenAllAsOneUndoStep) {
    CTextDocsFixture f;
    CtavView* v = f.Open(f.home.Write("r.txt", "word words word Word\n"));
    ASSERT_NE(v, nullptr);
    f.frame.UpdateCommandUi();
    f.frame.RunCommand(kIdEditReplace);
    CReplaceTextDlg* dlg = v->ReplaceDialog();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->Word(), QStringLiteral("word")); // the word at the caret
    auto edits = dlg->findChildren<QLineEdit*>();
    ASSERT_EQ(edits.size(), 2);
    edits[1]->setText(QStringLiteral("X"));
    for (QCheckBox* b : dlg->findChildren<QCheckBox*>()) b->setChecked(b->text().contains("whole"));
    // Replace on a selection that is not the word only finds; then it replaces and moves on.
    v->ReplaceOne();
    EXPECT_EQ(v->textCursor().selectionStart(), 0);
    v->ReplaceOne();
    EXPECT_EQ(v->toPlainText(), QStringLiteral("X words word Word\n"));
    EXPECT_EQ(v->textCursor().selectedText(), QStringLiteral("word"));
    v->ReplaceAll();
    EXPECT_EQ(v->toPlainText(), QStringLiteral("X words X X\n"));
    EXPECT_EQ(f.ports.prompt.LastText(), "Replaced 2 words.");
    v->RunCommand(kIdEditUndo);
    EXPECT_EQ(v->toPlainText(), QStringLiteral("X words word Word\n"));
}

TEST(TextDocuments, ResourceToolBarFollowsTheActiveDocument) {
    CTextDocsFixture f;
    ASSERT_NE(f.Open(f.home.Write("resource.h", "#define IDD_A 100\n")), nullptr);
    auto* header = f.frame.MdiArea()->activeSubWindow();
    auto* bar = f.frame.findChild<QToolBar*>(QStringLiteral("toolBar128"));
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->isHidden());
    ASSERT_NE(f.Open(f.home.Write("notes.txt", "plain\n")), nullptr);
    EXPECT_TRUE(bar->isHidden());
    f.frame.MdiArea()->setActiveSubWindow(header);
    EXPECT_FALSE(bar->isHidden());
}
