#pragma once

#include "app/CFrameSeams.h"
#include "app/CMainFrame.h"
#include "collections/CCollectionCommands.h"
#include "collections/CCollections.h"
#include "filetools/CFileInfo.h"

#include "TestPorts.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

// One log of everything the frame shows or calls, in order: "prompt:TEXT", "picker:TITLE",
// "hook:NAME", "seam:NAME". Questions are answered from a queue, else No / Cancel.
struct CLog {
    std::vector<std::string> lines;
    void Add(std::string line) { lines.push_back(std::move(line)); }
};

class CLogPrompt : public CPrompt {
public:
    explicit CLogPrompt(CLog& log) : m_log(log) {}
    EPromptAnswer Ask(std::string_view text, std::string_view caption, EPromptButtons buttons, EPromptIcon,
                      int) override {
        m_log.Add("prompt:" + std::string(text));
        captions.emplace_back(caption);
        if (buttons == EPromptButtons::Ok) return EPromptAnswer::Ok;
        if (!answers.empty()) {
            const EPromptAnswer a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == EPromptButtons::YesNo ? EPromptAnswer::No : EPromptAnswer::Cancel;
    }
    std::deque<EPromptAnswer> answers;
    std::vector<std::string> captions;

private:
    CLog& m_log;
};

class CLogPickers : public CPickers {
public:
    explicit CLogPickers(CLog& log) : m_log(log) {}
    std::string BrowseForDirectory(std::string_view title, const std::filesystem::path&) override { return Log(title); }
    std::string OpenFile(std::string_view title, std::string_view, const std::filesystem::path&) override { return Log(title); }
    std::string SaveFile(std::string_view title, std::string_view, const std::filesystem::path&) override { return Log(title); }

private:
    std::string Log(std::string_view title) {
        m_log.Add("picker:" + std::string(title));
        return {};
    }
    CLog& m_log;
};

// A parentless window standing in for the collection window.
class CStandInWindow : public QWidget {
public:
    std::optional<std::size_t> currentRow;
    std::optional<std::size_t> contextRow;
    bool editing = false;
    std::vector<std::string>* closeLog = nullptr;

protected:
    void closeEvent(QCloseEvent* e) override {
        if (closeLog) closeLog->push_back("collection");
        QWidget::closeEvent(e);
    }
};

// A frame over a temporary home with logging ports. Seams and hooks are empty until Fill* runs.
struct CFrameFixture {
    CTempHome home;
    CLog log;
    CLogPrompt prompt{log};
    CLogPickers pickers{log};
    CMemorySettings settings;
    CScriptedProgressHost progress;
    CStandInWindow standIn; // before the frame: its seams point here
    CMainFrame frame{prompt, settings, progress, pickers};

    CFrameFixture() { frame.AttachCollections(home.Home(), home.Root() / "program"); }

    CCollections& Collections() { return *frame.Collections(); }
    CCollectionStore& Store() { return frame.Collections()->Store(); }

    // A collection of folder "docs" with the given files, registered in the home.
    std::filesystem::path AddCollection(const std::vector<std::pair<std::string, std::string>>& files) {
        const std::filesystem::path base = home.Work() / "docs";
        std::string text = "#Docs#" + base.string() + "#My documents#*.*\r\n";
        for (const auto& [name, content] : files) text += home.Write(base / name, content).string() + "#about#\r\n";
        return home.Write(Store().GetCollectionFilePath(base.string()), text);
    }
    void AddFavorites() { home.Write(Collections().FavoritesPath(), "#Favorites#\r\n/x/a.txt#fav#\r\n"); }
    // Reloads the engine, so it learns of files written since.
    void Reattach() { frame.AttachCollections(home.Home(), home.Root() / "program"); }
    void LoadShown(const std::filesystem::path& collectionFile) {
        Store().SetCollectionFilePath(collectionFile);
        Store().LoadCollection();
    }

    void FillCollectionWindow() {
        CFrameSeams::CCollectionWindow& cw = frame.Seams().collectionWindow;
        cw.showCollection = [this] {
            log.Add("seam:showCollection");
            standIn.show();
        };
        cw.window = [this]() -> QWidget* { return standIn.isVisible() ? &standIn : nullptr; };
        cw.currentRow = [this] { return standIn.currentRow; };
        cw.contextMenuRow = [this] { return standIn.contextRow; };
        cw.isEditing = [this] { return standIn.editing; };
    }
    void FillEngineDialogs() {
        CCollectionCommandHooks& h = frame.CollectionCommands()->Hooks();
        h.openCollectionDialog = [this](COpenCollectionDialogData&) { return Hook("openCollectionDialog"); };
        h.newCollectionDialog = [this](CNewCollectionDialogData&) { return Hook("newCollectionDialog"); };
        h.keywordSearchDialog = [this](CKeywordDialogValues&) { return Hook("keywordSearchDialog"); };
        Collections().Hooks().collectionInfoDialog = [this](CCollectionInfoFields&) { return Hook("collectionInfoDialog"); };
        frame.FileInfo()->Hooks().dialog = [this](CFileInfoDlgModel&) { return Hook("fileInfoDialog"); };
    }
    void FillWindowSeams() {
        CFrameSeams& s = frame.Seams();
        s.deleteFromFavorites = [this] { log.Add("seam:deleteFromFavorites"); };
        s.openDocument = [this](const std::filesystem::path& f, bool fromCollection) {
            log.Add("seam:openDocument:" + f.string() + (fromCollection ? ":collection" : ""));
            return true;
        };
        s.newDocument = [this] { log.Add("seam:newDocument"); };
        s.viewCommandEnabled = [](int) { return true; };
        s.runViewCommand = [this](int id) { log.Add("seam:view:" + std::to_string(id)); };
        s.openHelpDocument = [this](const std::filesystem::path&) {
            log.Add("seam:openHelpDocument");
            return true;
        };
        s.fileExtensionTool = [this] { log.Add("seam:fileExtensionTool"); };
        s.replaceInFiles = [this] { log.Add("seam:replaceInFiles"); };
        s.saveProjectAs = [this](bool any) { log.Add(any ? "seam:saveProjectAs:any" : "seam:saveProjectAs:vs"); };
        s.copyAllFiles = [this] { log.Add("seam:copyAllFiles"); };
        s.runFile = [this](const std::filesystem::path& f) { log.Add("seam:runFile:" + f.string()); };
        s.printFile = [this](const std::filesystem::path& f) { log.Add("seam:printFile:" + f.string()); };
    }
    void FillAll() {
        FillCollectionWindow();
        FillEngineDialogs();
        FillWindowSeams();
        frame.UpdateCommandUi();
    }
    void ShowActive(QWidget& w) {
        w.show();
        w.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        frame.UpdateCommandUi();
    }

    bool Hook(const char* name) {
        log.Add(std::string("hook:") + name);
        return false;
    }
};
