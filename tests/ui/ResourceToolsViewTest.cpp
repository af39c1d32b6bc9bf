#include "app/CMainFrame.h"
#include "app/CommandTable.h"
#include "textdoc/CTextDocuments.h"
#include "textdoc/CtavView.h"

#include "TextDocsFixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace fs = std::filesystem;

namespace {

constexpr int kToolIds[] = {32008, 32033, 32024, 32027, 32025, 32021, 32012, 32014, 32017, 32019};

struct CViewFixture : CTextDocsFixture {
    // The command through its menu action, as the user chooses it.
    void Choose(int id) {
        frame.UpdateCommandUi();
        frame.Action(id)->trigger();
        frame.UpdateCommandUi();
    }
    std::vector<int> Enabled() {
        frame.UpdateCommandUi();
        std::vector<int> on;
        for (int id : kToolIds)
            if (frame.Action(id)->isEnabled()) on.push_back(id);
        return on;
    }
};

// The coloured characters of the view, in order, as "r:TEXT" or "b:TEXT".
std::vector<QString> Colored(const CtavView& v) {
    std::vector<QString> out;
    for (const QTextEdit::ExtraSelection& s : v.extraSelections()) {
        const QColor c = s.format.foreground().color();
        if (c == QColor(0, 0, 0)) continue;
        const QString tag = c == QColor(255, 0, 0)   ? QStringLiteral("r:")
                            : c == QColor(0, 0, 255) ? QStringLiteral("b:")
                                                     : QStringLiteral("?:");
        out.push_back(tag + s.cursor.selectedText().replace(QChar(0x2029), QLatin1Char('\n')));
    }
    return out;
}

// Answers the next modal dialog: fill sets its boxes, then OK.
void AcceptNextDialog(std::function<void(QDialog&)> fill) {
    QTimer::singleShot(0, [fill] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            fill(*d);
            d->accept();
        }
    });
}

void CheckGroups(QDialog& d) {
    for (const char* name : {"check10007", "check10013", "check1002"}) d.findChild<QCheckBox*>(name)->setChecked(true);
}

const char* const kHeader = "// resource\r\n#define IDR_MAINFRAME 128\r\n#define IDD_UNUSED 101\r\n"
                            "#define IDC_GONE 1000\r\n#define IDS_HELLO 61000\r\n";

const char* const kBaseRc = "// \u00DCbersicht \u20AC\r\n#define APSTUDIO_READONLY_SYMBOLS\r\n"
                            "IDR_MAINFRAME MENU DISCARDABLE\r\nBEGIN\r\n    POPUP \"&File\"\r\n    BEGIN\r\n"
                            "        MENUITEM \"&New\", ID_FILE_NEW\r\n        MENUITEM \"E&xit\", ID_APP_EXIT\r\n"
                            "    END\r\nEND\r\n"
                            "STRINGTABLE DISCARDABLE\r\nBEGIN\r\n    IDS_HELLO \"Hello\"\r\n"
                            "    IDS_GRUSS \"Gr\u00FC\u00DFe \u20AC\"\r\n    IDS_ONLY \"\xC3\xA4\"\r\nEND\r\n";

} // namespace

TEST(ResourceToolsView, HeaderCommandsThroughTheMenuColourAndEnable) {
    CViewFixture f;
    const fs::path header = f.home.Write("work/p/resource.h", kHeader);
    const fs::path rc = f.home.Write("work/p/base.rc", Utf16WithBom(kBaseRc));
    CtavView* v = f.Open(header);
    ASSERT_NE(v, nullptr);
    QTextDocument* doc = v->document();
    const QString full = QString::fromLatin1(kHeader).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const std::vector<int> idle = {32008, 32033, 32024};
    const std::vector<int> marked = {32008, 32033, 32024, 32027, 32025, 32014, 32017};
    const QString unused = QStringLiteral("#define IDD_UNUSED 101"), gone = QStringLiteral("#define IDC_GONE 1000");

    const auto expectState = [&](const std::vector<int>& enabled, const std::vector<QString>& colored) {
        EXPECT_EQ(f.Enabled(), enabled);
        EXPECT_EQ(Colored(*v), colored);
    };
    EXPECT_EQ(f.Enabled(), idle);

    AcceptNextDialog([](QDialog& d) {
        EXPECT_FALSE(d.findChild<QCheckBox*>("check1005")->isHidden());
        CheckGroups(d);
    });
    f.ports.pickers.answers.push_back(rc.string());
    f.Choose(32033); // find in the RC file by groups
    expectState(marked, {"r:" + unused, "r:" + gone});

    f.Choose(32017); // collapse: only the red lines stay, and they may not be edited
    expectState({32008, 32024, 32019}, {"r:" + unused + "\n", "r:" + gone + "\n"});
    EXPECT_EQ(doc->toPlainText(), unused + "\n" + gone + "\n");
    EXPECT_TRUE(v->isReadOnly());

    f.Choose(kIdFileSave); // saving while collapsed restores the whole text first
    expectState(marked, {"r:" + unused, "r:" + gone});
    EXPECT_EQ(ReadFileBytes(header), kHeader);
    EXPECT_EQ(doc->toPlainText(), full);
    EXPECT_FALSE(v->isReadOnly());

    f.Choose(32025); // exclude the red identifiers
    expectState(idle, {});
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("// resource\n#define IDR_MAINFRAME 128\n#define IDS_HELLO 61000\n"));
    EXPECT_TRUE(doc->isModified());

    f.Choose(32008); // correct; what the correction writes is the engine tests'
    expectState(idle, {});
    EXPECT_TRUE(doc->toPlainText().contains(QStringLiteral("#define IDR_MAINFRAME  1000\n")));
    EXPECT_TRUE(f.ports.prompt.AllAnswersUsed());
}

TEST(ResourceToolsView, TypingDropsTheMarksButKeepsTheColours) {
    CViewFixture f;
    const fs::path header = f.home.Write("work/p/resource.h", kHeader);
    f.home.Write("work/p/a.rc", "IDR_MAINFRAME IDS_HELLO\r\n");
    f.ports.settings.WriteInt("Default", "optinsRC_ALL", 1);
    CtavView* v = f.Open(header);
    ASSERT_NE(v, nullptr);
    AcceptNextDialog([](QDialog&) {});
    f.Choose(32033);
    ASSERT_EQ(Colored(*v).size(), 2u);
    v->setTextCursor(QTextCursor(v->document()));
    QTest::keyClick(v, Qt::Key_X);
    EXPECT_EQ(f.Enabled(), (std::vector<int>{32008, 32033, 32024}));
    EXPECT_EQ(Colored(*v).size(), 2u);
}
