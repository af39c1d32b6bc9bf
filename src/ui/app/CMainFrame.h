#pragma once

#include "app/CFrameSeams.h"
#include "app/CQtBusy.h"
#include "app/ContextHelp.h"
#include "app/Ports.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

class CCollectionCommands;
class CCollections;
class CFileInfo;
class CMainToolBar;
class CMdiClientWnd;
class QAction;
class QLabel;
class QMenu;
class QToolBar;

// The program's main window: the document area, the menus (1002 without a document, 1003 with
// one), the toolbars, the status bar, and the routing of every command to the engine or to the
// seam of the window that does the work. It owns the collections engine for the whole run.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // The ports must outlive the frame; the frame adds its own busy state to them.
    CMainFrame(CPrompt& prompt, CSettings& settings, CProgressHost& progress, CPickers& pickers,
               QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Once the working directory exists: the collections engine and the folders help is found in.
    void AttachCollections(const std::filesystem::path& workingDir, const std::filesystem::path& programDir);
    CCollections* Collections() const { return m_collections.get(); }
    CCollectionCommands* CollectionCommands() const { return m_commands.get(); }
    CFileInfo* FileInfo() const { return m_fileInfo.get(); }
    CPorts& Ports() { return m_ports; }
    CFrameSeams& Seams() { return m_seams; }

    // The one action of a command id, nullptr for an unknown id. Other windows put these into
    // their own menus and toolbars; whatever they do not handle they hand to RunCommand.
    QAction* Action(int id) const { return m_actions.value(id); }
    void RunCommand(int id);
    bool IsCommandEnabled(int id) const;
    // Brings every action's enabled and checked state up to date. Runs after each command, on
    // focus changes and menu openings, and every half second for what the disk decides.
    void UpdateCommandUi();

    // Shows the window as the stored placement says (maximised or normal).
    void ShowAtStart();
    bool OpenDocumentFile(const std::filesystem::path& file, bool fromCollection = false);
    void OpenHelpDocument();
    // The path of the document being opened (Textual editing, help), empty when none.
    const std::filesystem::path& OpeningPath() const { return m_openingPath; }

    void SetCaretStatus(unsigned long line, unsigned long start, unsigned long end);
    void ShowResourceToolBar(int kind, bool show);
    QToolBar* ResourceToolBar(int kind) const;
    std::string GetCollectionInformationText(bool forTip) const;
    void SetMessageText(const QString& text);
    QString MessageText() const;
    QWidget* CollectionWindow() const;
    bool IsCollectionWindowActive() const;
    bool IsContextHelpMode() const { return m_helpMode; }

    CMdiClientWnd* MdiArea() const { return m_mdi; }
    CMainToolBar* MainToolBar() const { return m_toolBar; }
    std::vector<QMenu*> MenusFor(bool documentOpen) const;
    QMenu* CppToolsMenu() const { return m_cppTools; }
    std::vector<QLabel*> StatusPanes() const;

    static const char* const kIdleMessage;

public slots:
    void OnAppAbout();
    // A second start handed us its command-line file: come to the front and open it.
    void OnActivateFromSecondInstance(const QString& file);
    void OnFocusChanged(QWidget* old, QWidget* now);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    QMenu* BuildMenu(const char* title, std::span<const int> items);
    void CreateToolBar();
    void CreateStatusBar();
    void RestorePlacement();
    void SavePlacement();
    void SwitchMenus();
    void FillWindowMenu(QMenu* menu);
    void FillRecentFiles(QMenu* menu);
    void ArrangeIcons();

    void Dispatch(int id);
    // Open documents: a document whose close was accepted is hidden until it is deleted.
    int DocumentCount() const;
    bool HasEngine() const { return m_commands != nullptr; }
    bool AnyCollectionFiles() const;
    std::optional<std::size_t> CurrentRow() const;
    std::optional<std::size_t> ContextMenuRecord() const;
    void ShowCollection();
    void EnterContextHelpMode();
    void LeaveContextHelpMode();
    void KeepCollectionWindowBehind();
    void UpdateLockPanes();

    void OnFileOpen();
    void OnRefreshCollection();
    void OnKeySearching();
    void OnReplaceInFiles();
    bool ChooseCollectionFirst();
    void OnFavorites();
    void OnFileAttributes();
    void OnTextualEditing();
    void OnDeleteFile();
    void OnAddToFavorites();
    void OnLaunchFile(int id);

    CQtBusy m_busy;
    CPorts m_ports;
    CFrameSeams m_seams;
    std::unique_ptr<CCollections> m_collections;
    std::unique_ptr<CCollectionCommands> m_commands;
    std::unique_ptr<CFileInfo> m_fileInfo;
    std::filesystem::path m_workingDir;
    std::filesystem::path m_programDir;
    std::filesystem::path m_openingPath;
    CContextHelp m_contextHelp;

    QHash<int, QAction*> m_actions;
    std::vector<QMenu*> m_menus1002;
    std::vector<QMenu*> m_menus1003;
    QMenu* m_cppTools = nullptr;
    bool m_showsDocumentMenu = false;
    CMainToolBar* m_toolBar = nullptr;
    QToolBar* m_resourceBars[2] = {nullptr, nullptr};
    CMdiClientWnd* m_mdi = nullptr;
    QLabel* m_message = nullptr;
    QLabel* m_lockPanes[3] = {nullptr, nullptr, nullptr};
    bool m_lockState[3] = {false, false, false};
    bool m_helpMode = false;
    bool m_startMaximized = false;
    bool m_closing = false;
};
