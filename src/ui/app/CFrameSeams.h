#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

class QWidget;

// Where the windows that come after the main frame plug into it. The frame routes each command
// to its seam; a command whose seam is empty stays disabled, so nothing pretends to work. Fill
// them (CMainFrame::Seams(), then UpdateCommandUi()) before CtavApp runs the start-up steps,
// which open the command-line file and the first-run help through them.
//
// The collection dialogs are seams of the engine: CCollectionCommands::Hooks(),
// CCollections::Hooks() and CFileInfo::Hooks(), reached through the frame. The frame fills the
// window hooks there (isWindowOpen, bringWindowToFront, closeWindow) from collectionWindow.
struct CFrameSeams {
    // CCollectionWnd: a parentless top-level window the frame owns.
    struct CCollectionWindow {
        // ShowCollection: creates the window when needed and shows the store's whole main list.
        std::function<void()> showCollection;
        // The window while it is open, else nullptr. Closing it (QWidget::close) saves its settings.
        std::function<QWidget*()> window;
        // The table's current row, and the row the file context menu was opened for.
        std::function<std::optional<std::size_t>()> currentRow;
        std::function<std::optional<std::size_t>()> contextMenuRow;
        // True while a cell is being edited in place.
        std::function<bool()> isEditing;
    } collectionWindow;
    // "Delete from favorite..." (32034): its dialog, or in the favorites view the current row.
    std::function<void()> deleteFromFavorites;

    // Text documents. openDocument is OpenDocumentFile: fromCollection is set for "Textual
    // editing" (the view then marks the keywords of a search in force); false when nothing opened.
    std::function<bool(const std::filesystem::path& file, bool fromCollection)> openDocument;
    std::function<void()> newDocument;
    // The commands of the active document and view (Save, Print, the edit commands, Find, New
    // Window, the panes, Send mail, the "C++ tools"): whether the active view takes command id
    // now, and running it there.
    std::function<bool(int id)> viewCommandEnabled;
    std::function<void(int id)> runViewCommand;
    // The keyword combo box's list, saved when the frame closes.
    std::function<void()> saveKeywordList;
    // The recent-file list, most recent first.
    std::function<std::vector<std::filesystem::path>()> recentFiles;

    // Opens "Help.rtf" (found by the frame) as a document; false when it did not open.
    std::function<bool(const std::filesystem::path& helpFile)> openHelpDocument;

    // The file tools' dialogs.
    std::function<void()> fileExtensionTool; // 32029, also "Check run link"
    // 32035: with the keyboard focus in the collection window on its collection, else on the
    // one the user picks first ("Choose collection"; Cancel ends the command).
    std::function<void()> replaceInFiles;
    std::function<void(bool anyProject)> saveProjectAs;               // 32041 (false), 10042 (true)
    std::function<void()> copyAllFiles;                               // 10043
    std::function<void(const std::filesystem::path& file)> runFile;   // 32004
    std::function<void(const std::filesystem::path& file)> printFile; // 32002
};
