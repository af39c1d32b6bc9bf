#include "app/FileAccess.h"
#include "app/SettingsKeys.h"
#include "collections/CCollections.h"
#include "filetools/CAssociationWriter.h"
#include "filetools/CAssociations.h"
#include "filetools/CCopyAllFilesDlg.h"
#include "filetools/CExtensionTool.h"
#include "filetools/CExtensionToolDlg.h"
#include "filetools/CFileInfo.h"
#include "filetools/CFileInfoDlg.h"
#include "filetools/CProjectSaveAs.h"
#include "filetools/CReplaceDlg.h"
#include "filetools/CSaveProjectDlg.h"

#include "TestPorts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Only the MIME compiler really runs; nothing is started.
class CQuietLauncher : public CLauncher {
public:
    bool Start(const std::vector<std::string>&) override { return true; }
    int Run(const std::vector<std::string>& argv) override { return real.Run(argv); }
    std::string FindProgram(std::string_view name) override { return real.FindProgram(name); }
    CSystemLauncher real;
};

TEST(FileToolDialogs, ExtensionTool) {
    CTempHome tmp;
    CTestPorts t;
    tmp.Write("sys/share/mime/globs2", "50:text/plain:*.txt\n");
    CXdgPaths paths;
    paths.dataHome = tmp.Root() / "user" / ".local" / "share";
    paths.configHome = tmp.Root() / "user" / ".config";
    paths.dataDirs = {tmp.Root() / "sys" / "share"};
    const fs::path program = tmp.Write("work/bin/viewer", "#!/bin/sh\n");
    CQuietLauncher launcher;
    CAssociations assoc(t.ports, launcher, paths);
    CExtensionTool tool(assoc, t.prompt);
    CExtensionToolDlg dlg(tool, ".txt");
    dlg.OnFirstTick();

    // Enter in the box is "New link", once.
    dlg.show();
    dlg.extensionEdit->clear();
    t.prompt.Clear();
    QTest::keyClick(dlg.extensionEdit, Qt::Key_Return);
    EXPECT_EQ(t.prompt.Texts(), std::vector<std::string>{"Insert a normal file extansion string, please."});

    dlg.extensionEdit->setText(QStringLiteral("abc"));
    t.pickers.answers.push_back(program.string());
    dlg.newLinkButton->click();
    // The engine's tests hold the texts; here the typed extension reaches it and Remove follows.
    EXPECT_TRUE(dlg.infoText->toPlainText().contains(Q(program.string())));
    ASSERT_TRUE(dlg.removeButton->isEnabled());
    t.prompt.AnswerYes();
    dlg.removeButton->click();
    EXPECT_FALSE(dlg.removeButton->isEnabled());
    EXPECT_FALSE(fs::exists(assoc.Writer().DesktopFile(".abc")));
}

class CScriptedWarning : public CReadOnlyWarning {
public:
    CAnswer Ask(std::string_view text) override {
        texts.emplace_back(text);
        return answer;
    }
    CAnswer answer{true, true};
    std::vector<std::string> texts;
};

// Opens the scripted indicator and notes whether the dialog was disabled meanwhile.
class CWatchingProgress : public CProgressHost {
public:
    std::unique_ptr<CProgress> OpenProgress() override {
        if (dialog) disabledDuringRun = !dialog->isEnabled();
        return inner.OpenProgress();
    }
    CScriptedProgressHost inner;
    QWidget* dialog = nullptr;
    bool disabledDuringRun = false;
};

TEST(FileToolDialogs, Replace) {
    CTempHome tmp;
    CTestPorts t;
    const fs::path dir = tmp.Work() / "tree";
    const fs::path a = tmp.Write("work/tree/a.txt", "old and old");
    CScriptedWarning warning;
    CWatchingProgress progress;
    CReplaceScope scope;
    scope.baseDirectory = dir.string();
    CReplaceDlg dlg(t.ports, warning, progress, scope);
    progress.dialog = &dlg;

    const std::string counts = "Found 1 files, was opened 1 files\r\nReplaced 2 words.";
    // A refusal and a run; the engine's tests hold the question and what No leaves.
    const struct {
        const char *from, *to, *extensions;
        bool goOn; // Yes to the question whether to go on
        CReplaceInFiles::EOk result;
        const char* message;
        const char* aText;
    } rows[] = {
        {"old", "new", "doc", false, CReplaceInFiles::EOk::Ended, "Found not any files with extension \"doc\".",
         "old and old"},
        {"old", "new", "txt", true, CReplaceInFiles::EOk::Ran, counts.c_str(), "new and new"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.from) + "->" + r.to + " in " + r.extensions);
        t.prompt.Clear();
        if (r.goOn) t.prompt.AnswerYes();
        dlg.fromEdit->setText(QString::fromLatin1(r.from));
        dlg.toEdit->setText(QString::fromLatin1(r.to));
        dlg.extensionEdit->setText(QString::fromLatin1(r.extensions));
        dlg.okButton->click();
        EXPECT_EQ(dlg.LastResult(), r.result);
        EXPECT_EQ(dlg.result(), 0); // stays open
        EXPECT_TRUE(dlg.isEnabled());
        EXPECT_EQ(t.prompt.LastText(), r.message);
        EXPECT_EQ(ReadFileBytes(a), r.aText);
        EXPECT_TRUE(t.prompt.AllAnswersUsed());
    }
    EXPECT_EQ(dlg.extensionEdit->text(), "txt"); // the normal form
    EXPECT_TRUE(progress.disabledDuringRun);
    EXPECT_EQ(t.settings.Get(kReplaceExt), "txt");
}

TEST(FileToolDialogs, SaveProject) {
    CTempHome tmp;
    CTestPorts t;
    const fs::path dsp = tmp.Write("work/Old/Old.dsp", "# Old.dsp\r\n");
    tmp.Write("work/Old/Old.cpp", "#include \"OldDoc.h\"\r\n");
    const fs::path txt = tmp.Write("work/Old/Old.txt", "");
    const std::string target = (tmp.Work() / "New" / "New.dsp").string();
    CProjectSaveAs saveAs(t.ports, CProjectSaveAs::EVariant::Vs);
    CSaveProjectDlg dlg(saveAs, false);
    EXPECT_FALSE(dlg.okButton->isEnabled());

    t.pickers.answers.push_back(dsp.string());
    dlg.sourceBrowse->click();
    EXPECT_EQ(dlg.sourceEdit->text(), Q(dsp.string()));
    EXPECT_EQ(t.settings.Get(kSaveAsProjDir), dsp.string());
    EXPECT_FALSE(dlg.okButton->isEnabled());

    const struct {
        std::string oldFile, newFile, message;
    } rows[] = {
        // One refusal for all: the engine's own tests hold each message.
        {txt.string(), target, "A sourse file name must be \".dsp\" type."},
        {dsp.string(), target, ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.oldFile + " -> " + r.newFile);
        t.prompt.Clear();
        dlg.sourceEdit->setText(Q(r.oldFile));
        dlg.targetEdit->setText(Q(r.newFile));
        ASSERT_TRUE(dlg.okButton->isEnabled());
        dlg.okButton->click();
        EXPECT_EQ(t.prompt.LastText(), r.message);
        EXPECT_EQ(dlg.result() == QDialog::Accepted, r.message.empty());
    }
    EXPECT_EQ(t.settings.Get(kSaveAsNewProjFile), target);
    EXPECT_EQ(dlg.NewFile().toStdString(), target);
}

TEST(FileToolDialogs, CopyAllFiles) {
    CTempHome tmp;
    CTestPorts t;
    const fs::path from = tmp.Work() / "from";
    const fs::path to = tmp.Work() / "to";
    tmp.Write("work/from/x/report.txt", "one");
    t.settings.Set(kCopyAllSource, from.string());
    CCopyAllFiles copy(t.ports);
    CCopyAllFilesDlg dlg(copy, t.prompt);
    dlg.OnFirstTick();
    EXPECT_EQ(dlg.sourceEdit->text(), Q(from.string()));
    t.pickers.answers.push_back(to.string());
    dlg.targetBrowse->click();
    EXPECT_EQ(dlg.targetEdit->text(), Q(to.string()));

    const struct {
        std::string source, target, minimum, message;
    } rows[] = {
        // The folder checks are the engine's; the number is the dialog's own.
        {from.string(), to.string(), "", "Please enter an integer."},
        {from.string(), to.string(), "2", ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.source + " -> " + r.target + " min " + r.minimum);
        t.prompt.Clear();
        dlg.sourceEdit->setText(Q(r.source));
        dlg.targetEdit->setText(Q(r.target));
        dlg.minimumEdit->setText(Q(r.minimum));
        dlg.extensionEdit->setText(QStringLiteral("  txt "));
        dlg.okButton->click();
        EXPECT_EQ(t.prompt.LastText(), r.message);
        EXPECT_EQ(dlg.result() == QDialog::Accepted, r.message.empty());
    }
    EXPECT_EQ(dlg.Fields().minimumSize, 2);
    EXPECT_EQ(dlg.Fields().extensions, "txt");
}

TEST(FileToolDialogs, FileInfo) {
    CTempHome tmp;
    CTestPorts t;
    const fs::path a = tmp.Write("work/docs/a.txt", "aaaa");
    const std::string dir = (tmp.Work() / "docs").string();
    const fs::path inf = tmp.Home() / (CCollectionStore::MakeCollectionFileName(dir) + ".inf");
    tmp.Write(inf.lexically_relative(tmp.Root()), "#Docs#" + dir + "##txt\r\n" + a.string() + "##\r\n");
    CCollections collections(t.ports, tmp.Home());
    collections.Store().SetCollectionFilePath(inf);
    collections.Store().SetBaseDirectory(dir);
    ASSERT_EQ(collections.Store().LoadCollection(), 1u);
    CFileInfo info(t.ports, collections);
    std::string renamedTo;
    info.Hooks().renameFile = [&](std::string_view name) {
        renamedTo = std::string(name);
        return false;
    };

    // Each row clicks Read only in the dialog the engine opens, then presses Ok (or Cancel).
    const struct {
        const char* name;
        int clicks;
        const char* newName;
        bool okEnabled;
        std::uint8_t attribute; // of a.txt afterwards
    } rows[] = {
        {"read only ticked and unticked", 2, "", false, kAttrArchive},
        {"read only", 1, "", true, kAttrArchive | kAttrReadOnly},
        {"a new name goes to the rename hook", 0, "b.txt", true, kAttrArchive | kAttrReadOnly},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        t.prompt.Clear();
        bool opened = false;
        info.Hooks().dialog = [&](CFileInfoDlgModel& model) {
            opened = true;
            CFileInfoDlg dlg(model, t.ports);
            for (QCheckBox* box : {dlg.archiveBox, dlg.hiddenBox, dlg.systemBox}) {
                EXPECT_FALSE(box->isEnabled());
                EXPECT_FALSE(box->accessibleDescription().isEmpty());
            }
            EXPECT_FALSE(dlg.okButton->isEnabled());
            if (*r.newName) dlg.nameEdit->setText(QString::fromLatin1(r.newName));
            for (int i = 0; i < r.clicks; ++i) dlg.readOnlyBox->click();
            EXPECT_EQ(dlg.okButton->isEnabled(), r.okEnabled);
            if (dlg.okButton->isEnabled()) dlg.okButton->click();
            if (dlg.result() != QDialog::Accepted) dlg.reject();
            return dlg.result() == QDialog::Accepted;
        };
        info.OnFileInfo(0);
        EXPECT_TRUE(opened);
        EXPECT_EQ(*GetFileAttributeByte(a), r.attribute);
    }
    EXPECT_EQ(renamedTo, "b.txt");
}

} // namespace
