#include "app/CommandTable.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr CCommandDef kCommands[] = {
    {57600, "&New\tCtrl+N", "Ctrl+N", "Create a new empty text document", "new", ""},
    {57601, "&Open...\tCtrl+O", "Ctrl+O", "Open a text or resource file", "open", ""},
    {57602, "&Close", "", "Close the active document", "", ""},
    {57603, "&Save\tCtrl+S", "Ctrl+S", "Save the active document", "save", ""},
    {57604, "Save &As...", "", "Save the active document under a new name", "", ""},
    {32040, "Send mail", "", "Send the active document by mail", "", ""},
    {57607, "&Print...\tCtrl+P", "Ctrl+P", "Print the active document", "print", ""},
    {57609, "Print Pre&view", "", "Show the pages as they will be printed", "", ""},
    {57606, "P&rint Setup...", "", "Choose a printer and its options", "", ""},
    {57616, "Recent File", "", "Open a recently used file", "", ""},
    {57665, "E&xit", "", "Quit Quillbox", "", ""},

    {57643, "&Undo\tCtrl+Z", "Ctrl+Z", "Undo the last change", "", ""},
    {57635, "Cu&t\tCtrl+X", "Ctrl+X", "Cut the selection to the clipboard", "", ""},
    {57634, "&Copy\tCtrl+C", "Ctrl+C;Ctrl+Ins", "Copy the selection to the clipboard", "", ""},
    {57637, "&Paste\tCtrl+V", "Ctrl+V;Shift+Ins", "Insert the clipboard contents", "", ""},
    {57642, "Select A&ll\tCtrl+A", "Ctrl+A", "Select the whole text", "", ""},
    {32026, "Go to next found word\tF3", "", "Go to the next found keyword", "nextfound", ""},
    {32000, "", "F3", "Find the keyword of the keyword box again", "", ""},
    {32007, "Find in text", "", "Find a word in the text", "find", ""},
    {57641, "Replace", "Ctrl+H", "Replace text in the active document", "", ""},

    {32037, "Open Collections... \tAlt+C", "Alt+C", "Open one of your collections", "", ""},
    {32038, "New collection...\tAlt+N", "Alt+N", "Create a collection for a folder", "", ""},
    {32009, "Refresh collection\tAlt+Z", "Alt+Z", "Refresh the current collection from the disk", "refresh", ""},
    {32011, "Refresh collection", "", "Refresh the current collection from the disk", "refresh", ""},
    {10041, "Change the collection path", "", "Move the current collection to another folder", "", ""},
    {32010, "Key searching...\tAlt+K", "Alt+K", "Find the collection files that hold keywords", "keysearch", ""},
    {32013, "Keyword searching in all files", "", "Find the shown collection's files that hold keywords", "keysearch",
     ""},
    {32036, "Delete collection", "", "Delete a collection file", "", ""},
    {32028, "Collection info...\tAlt+I", "Alt+I", "Rename or describe the shown collection", "info", ""},
    {32031, "Favorite collection\tStrl+F", "Alt+F", "Show your favorite files", "", ""},
    {32034, "Delete from favorite...\tAlt+D", "Alt+D", "Remove files from your favorites", "", "Delete from favorites"},
    {32039, "Choose a collection", "", "Open or create a collection", "choose", ""},
    {32070, "Import descriptions (descript.ion)", "", "Take the descriptions of the folders' descript.ion files", "",
     "Import descriptions (descript.ion)"},
    {32071, "Export descriptions (descript.ion)", "", "Write the descriptions into the folders' descript.ion files", "",
     "Export descriptions (descript.ion)"},

    {32029, "File extension tool...\tAlt+E", "Alt+E", "Link a file extension to a program", "", "Check run link"},
    {32030, "File attributes...\tAlt+A", "Alt+A", "Change the name and attributes of files", "", "File info"},
    {32035, "Replace in collection files...\tAlt+R", "Alt+R", "Replace text in the files of a collection", "", ""},
    {32041, "Save VS project as...", "", "Copy a Visual Studio project under a new name", "", ""},
    {10042, "Save Any project as...", "", "Copy any project folder under a new name", "", ""},
    {10043, "Copy All files", "", "Copy every file of a folder tree into one folder", "", ""},

    {32008, "Correct resource file", "", "Renumber the identifiers of the resource header", "correct", ""},
    {32033, "Find existetn identificators in RC-file", "", "Mark identifiers that no RC file uses", "findrc", ""},
    {32024, "Find existent identificators in project", "", "Mark identifiers that no project file uses", "findproject",
     ""},
    {32027, "Invert red color", "", "Swap red and black identifiers", "invert", ""},
    {32025, "Exlude a red color identifers from resource.h", "", "Remove the red identifiers from the header",
     "exclude", ""},
    {32021, "Options of checking...", "", "Choose what the RC compare checks", "options", ""},
    {32012, "Compare another RC...", "", "Compare this RC file with another", "compare", ""},
    {32014, "Go to next", "", "Go to the next coloured line", "nextmark", ""},
    {32017, "Collaps color strings", "", "Show only the coloured lines", "collapse", ""},
    {32019, "Restore collapsed view", "", "Show the whole text again", "restore", ""},
    {10039, "Save to another file witout reloading", "", "Save a copy and keep the open document as it is", "saveother",
     ""},

    {59392, "&Toolbar", "", "Show or hide the toolbar", "", ""},
    {59393, "&Status Bar", "", "Show or hide the status bar", "", ""},
    {57648, "&New Window", "", "Open another window on the active document", "", ""},
    {57650, "&Cascade", "", "Arrange the document windows overlapping", "", ""},
    {57651, "&Tile", "", "Arrange the document windows side by side", "", ""},
    {57649, "&Arrange Icons", "", "Line up the minimized document windows", "", ""},
    {57667, "&Help Topics", "", "Open the Quillbox help", "", ""},
    {57670, "", "F1", "Help for the current task", "", ""},
    {57669, "Context help", "Shift+F1", "Click a command to get help on it", "contexthelp", ""},
    {57664, "&About Quillbox...", "", "Show the program name and version", "", ""},
    {57680, "", "F6", "Go to the next pane", "", ""},
    {57681, "", "Shift+F6", "Go to the previous pane", "", ""},

    {32005, "Textual editing", "", "Open the file as a text document", "", "Textual editing"},
    {32004, "Run", "", "Start the file with its program", "", "Run"},
    {32002, "Print", "", "Print the file with its program", "", "Print"},
    {32003, "Delete file", "", "Delete the file from the disk and the collection", "", "Delete file"},
    {32032, "Add to favorites", "", "Add the file to your favorites", "", "Add to favorites"},
};

constexpr int kFile1002[] = {57600, 57601, kSeparator, 57606, kSeparator, 57616, kSeparator, 57665};
constexpr int kFile1003[] = {57600, 57601, 57602, 57603,      57604, kSeparator, 32040, kSeparator,
                             57607, 57609, 57606, kSeparator, 57616, kSeparator, 57665};
constexpr int kEdit[] = {57643, kSeparator, 57635, 57634, 57637, 57642, kSeparator, 57641, 32026};
constexpr int kCollection[] = {32037, 32038,      32009, 10041, kSeparator, 32010, kSeparator, 32028,
                               32036, kSeparator, 32070, 32071, kSeparator, 32031, 32034};
constexpr int kTools1002[] = {32029, 32030, 32035, kSeparator, 32041, 10042, 10043};
constexpr int kTools1003[] = {32029, 32030, 32035, kSeparator, kCppToolsSubmenu, kSeparator, 32041, 10043};
constexpr int kView[] = {59392, 59393};
constexpr int kWindow[] = {57648, 57650, 57651, 57649};
constexpr int kHelp[] = {57667, kSeparator, 57664};
constexpr int kCppTools[] = {32008, 32033, 32024, 32027, 32025, kSeparator, 32021, 32012, 32014, 32017, 32019};

// The top-level titles take no mnemonic from A, C, D, E, F, I, K, N, R or Z: those letters are
// Alt accelerators, and a title holding one would take its key away.
constexpr CMenuDef kMenu1002[] = {
    {"Fi&le", kFile1002}, {"C&ollection", kCollection}, {"Tool&s", kTools1002}, {"&View", kView}, {"&Help", kHelp},
};
constexpr CMenuDef kMenu1003[] = {
    {"Fi&le", kFile1003}, {"Edi&t", kEdit}, {"C&ollection", kCollection}, {"Tool&s", kTools1003}, {"&View", kView},
    {"&Window", kWindow}, {"&Help", kHelp},
};

constexpr int kMainToolBar[] = {32039, 32009, 32010,      32028, kSeparator, 57600, 57601,
                                57603, 57607, kSeparator, 57669, kSeparator, 32007, 32026};
constexpr int kResourceToolBar128[] = {10039, kSeparator, 32008, 32033, 32027, 32025,
                                       32024, kSeparator, 32014, 32017, 32019};
constexpr int kCompareToolBar1003[] = {10039, kSeparator, 32021, 32012, kSeparator, 32014, 32017, 32019};

} // namespace

std::span<const CCommandDef> Commands() { return kCommands; }

const CCommandDef* FindCommand(int id) {
    const auto it =
        std::find_if(std::begin(kCommands), std::end(kCommands), [id](const CCommandDef& c) { return c.id == id; });
    return it == std::end(kCommands) ? nullptr : &*it;
}

std::span<const CMenuDef> MainMenu(bool documentOpen) {
    if (documentOpen) return kMenu1003;
    return kMenu1002;
}

std::span<const int> CppToolsMenu() { return kCppTools; }

std::span<const int> MainToolBarButtons() { return kMainToolBar; }

std::span<const int> ResourceToolBarButtons(int kind) {
    if (kind == 1) return kCompareToolBar1003;
    return kResourceToolBar128;
}
