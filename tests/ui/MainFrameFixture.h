#pragma once

#include "app/CMainFrame.h"
#include "collections/CCollectionCommands.h"
#include "collections/CCollections.h"
#include "filetools/CFileInfo.h"

#include "TestPorts.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

// One log of what the frame shows or calls, in order: "prompt:TEXT", "picker:TITLE",
// "hook:NAME", "seam:NAME". Every question is answered No or Cancel.
class CLogPrompt : public CPrompt {
public:
    explicit CLogPrompt(std::vector<std::string>& log) : m_log(log) {}
    EPromptAnswer Ask(std::string_view text, std::string_view, EPromptButtons buttons, EPromptIcon, int) override {
        m_log.push_back("prompt:" + std::string(text));
        if (buttons == EPromptButtons::Ok) return EPromptAnswer::Ok;
        return buttons == EPromptButtons::YesNo ? EPromptAnswer::No : EPromptAnswer::Cancel;
    }

private:
    std::vector<std::string>& m_log;
};

class CLogPickers : public CPickers {
public:
    explicit CLogPickers(std::vector<std::string>& log) : m_log(log) {}
    std::string BrowseForDirectory(std::string_view t, const std::filesystem::path&) override { return Log(t); }
    std::string OpenFile(std::string_view t, std::string_view, const std::filesystem::path&) override { return Log(t); }
    std::string SaveFile(std::string_view t, std::string_view, const std::filesystem::path&) override { return Log(t); }

private:
    std::string Log(std::string_view title) {
        m_log.push_back("picker:" + std::string(title));
        return {};
    }
    std::vector<std::string>& m_log;
};

// A parentless window standing in for the collection window.
struct CStandInWindow : QWidget {
    std::optional<std::size_t> currentRow, contextRow;
    bool editing = false;
    std::vector<std::string>* closeLog = nullptr;
    void closeEvent(QCloseEvent* e) override {
        if (closeLog) closeLog->push_back("collection");
        QWidget::closeEvent(e);
    }
};

// A frame over a temporary home with logging ports; seams and dialog hooks stay empty until
// FillAll.
struct CFrameFixture {
    CTempHome home;
    std::vector<std::string> log;
    CLogPrompt prompt{log};
    CLogPickers pickers{log};
    CMemorySettings settings;
    CScriptedProgressHost progress;
    CStandInWindow standIn; // before the frame: its seams point here
    CMainFrame frame{prompt, settings, progress, pickers};

    CFrameFixture() { Reattach(); }
    // A new engine, which learns of the files written since.
    void Reattach() { frame.AttachCollections(home.Home(), home.Root() / "program"); }
    CCollections& Collections() { return *frame.Collections(); }
    CCollectionStore& Store() { return Collections().Store(); }
    std::filesystem::path Docs() const { return home.Work() / "docs"; }

    // Collection "Docs" of Work()/docs, one record per file.
    std::filesystem::path AddCollection(const std::vector<std::pair<std::string, std::string>>& files) {
        std::string text = "#Docs#" + Docs().string() + "#My documents#*.*\r\n";
        for (const auto& [name, content] : files) text += home.Write(Docs() / name, content).string() + "#about#\r\n";
        return home.Write(Store().GetCollectionFilePath(Docs().string()), text);
    }
    void AddFavorites() {
        home.Write(Collections().FavoritesPath(), "#Favorites#\r\n/x/a.txt#fav#\r\n");
        Reattach();
        FillAll();
    }
    // The collection window shows a collection of a.txt, its row 0 current and under the menu.
    void ShowRow(std::string_view content = "x") {
        Store().SetCollectionFilePath(AddCollection({{"a.txt", std::string(content)}}));
        Store().LoadCollection();
        standIn.currentRow = standIn.contextRow = 0;
        standIn.show();
    }

    bool Hook(const char* name) {
        log.push_back(std::string("hook:") + name);
        return false;
    }
    std::function<void()> Seam(const char* name) {
        return [this, name] { log.push_back(std::string("seam:") + name); };
    }
    std::function<void(const std::filesystem::path&)> FileSeam(const char* name) {
        return [this, name](const std::filesystem::path& f) {
            log.push_back(std::string("seam:") + name + ":" + f.string());
        };
    }
    void FillAll() {
        CFrameSeams& s = frame.Seams();
        s.collectionWindow.showCollection = [this] {
            log.push_back("seam:showCollection");
            standIn.show();
        };
        s.collectionWindow.window = [this]() -> QWidget* { return standIn.isVisible() ? &standIn : nullptr; };
        s.collectionWindow.currentRow = [this] { return standIn.currentRow; };
        s.collectionWindow.contextMenuRow = [this] { return standIn.contextRow; };
        s.collectionWindow.isEditing = [this] { return standIn.editing; };
        CCollectionCommandHooks& h = frame.CollectionCommands()->Hooks();
        h.openCollectionDialog = [this](COpenCollectionDialogData&) { return Hook("openCollectionDialog"); };
        h.newCollectionDialog = [this](CNewCollectionDialogData&) { return Hook("newCollectionDialog"); };
        h.keywordSearchDialog = [this](CKeywordDialogValues&) { return Hook("keywordSearchDialog"); };
        Collections().Hooks().collectionInfoDialog = [this](CCollectionInfoFields&) {
            return Hook("collectionInfoDialog");
        };
        frame.FileInfo()->Hooks().dialog = [this](CFileInfoDlgModel&) { return Hook("fileInfoDialog"); };
        s.openDocument = [this](const std::filesystem::path& f, bool fromCollection) {
            log.push_back("seam:openDocument:" + f.string() + (fromCollection ? ":collection" : ""));
            return true;
        };
        s.viewCommandEnabled = [](int) { return true; };
        s.runViewCommand = [this](int id) { log.push_back("seam:view:" + std::to_string(id)); };
        s.openHelpDocument = [this](const std::filesystem::path&) {
            log.push_back("seam:openHelpDocument");
            return true;
        };
        s.newDocument = Seam("newDocument");
        s.deleteFromFavorites = Seam("deleteFromFavorites");
        s.fileExtensionTool = Seam("fileExtensionTool");
        s.replaceInFiles = Seam("replaceInFiles");
        s.copyAllFiles = Seam("copyAllFiles");
        s.saveProjectAs = [this](bool any) { log.push_back(any ? "seam:saveAnyProject" : "seam:saveVsProject"); };
        s.runFile = FileSeam("runFile");
        s.printFile = FileSeam("printFile");
        frame.UpdateCommandUi();
    }
    void ShowActive(QWidget& w) {
        w.show();
        w.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        frame.UpdateCommandUi();
    }
};
