#pragma once

#include <span>

// Every command of the main frame once: id, the text menus and toolbars show, the keys that run
// it, and our own short prompt, which the status bar shows while the item is highlighted and a
// toolbar button shows as its tooltip.
struct CCommandDef {
    int id;
    // As the menu shows it: "&" before the mnemonic, "\t" before the key text. The key text is
    // only shown; keys lists what really works ("Strl+F" is shown, Alt+F works).
    const char* text;
    // Key sequences in QKeySequence's portable form, ';' between two; empty for none.
    const char* keys;
    const char* prompt;
    // Icon under :/icons/ (an SVG); empty for none.
    const char* icon;
    // The item's text in the collection window's file context menu; empty when not there.
    const char* contextText;
};

// Command ids the frame itself refers to.
enum ECommandId : int {
    kIdFileNew = 57600,
    kIdFileOpen = 57601,
    kIdFileClose = 57602,
    kIdFileSave = 57603,
    kIdFileSaveAs = 57604,
    kIdFilePrintSetup = 57606,
    kIdFilePrint = 57607,
    kIdFilePrintPreview = 57609,
    kIdRecentFile = 57616,
    kIdEditCopy = 57634,
    kIdEditCut = 57635,
    kIdEditPaste = 57637,
    kIdEditReplace = 57641,
    kIdEditSelectAll = 57642,
    kIdEditUndo = 57643,
    kIdWindowNew = 57648,
    kIdWindowArrange = 57649,
    kIdWindowCascade = 57650,
    kIdWindowTile = 57651,
    kIdAppAbout = 57664,
    kIdAppExit = 57665,
    kIdHelpTopics = 57667,
    kIdContextHelp = 57669,
    kIdHelp = 57670,
    kIdNextPane = 57680,
    kIdPrevPane = 57681,
    kIdViewToolbar = 59392,
    kIdViewStatusBar = 59393,

    kIdFindKeyword = 32000,
    kIdPrintFile = 32002,
    kIdDeleteFile = 32003,
    kIdRunFile = 32004,
    kIdTextualEditing = 32005,
    kIdFindInText = 32007,
    kIdRefresh = 32009,
    kIdKeySearching = 32010,
    kIdRefreshShown = 32011,
    kIdKeySearchShown = 32013,
    kIdGoToNextFound = 32026,
    kIdCollectionInfo = 32028,
    kIdExtensionTool = 32029,
    kIdFileAttributes = 32030,
    kIdFavorites = 32031,
    kIdAddToFavorites = 32032,
    kIdDeleteFromFavorites = 32034,
    kIdReplaceInFiles = 32035,
    kIdDeleteCollection = 32036,
    kIdOpenCollections = 32037,
    kIdNewCollection = 32038,
    kIdChooseCollection = 32039,
    kIdSendMail = 32040,
    kIdSaveVsProject = 32041,
    kIdSaveToAnotherFile = 10039,
    kIdChangeCollectionPath = 10041,
    kIdSaveAnyProject = 10042,
    kIdCopyAllFiles = 10043,
    kIdImportDescriptIon = 32070,
    kIdExportDescriptIon = 32071,
};

// Menu and toolbar layouts list ids; these stand for what is no command.
inline constexpr int kSeparator = 0;
inline constexpr int kCppToolsSubmenu = -1;

struct CMenuDef {
    const char* title;
    std::span<const int> items;
};

std::span<const CCommandDef> Commands();
// nullptr for an id that is no command of the frame.
const CCommandDef* FindCommand(int id);

// Menu 1002 while no document is open, menu 1003 while one is.
std::span<const CMenuDef> MainMenu(bool documentOpen);
std::span<const int> CppToolsMenu();
inline constexpr const char* kCppToolsTitle = "C++ tools";

std::span<const int> MainToolBarButtons();
// Kind 1 is the RC-compare toolbar 1003, kind 2 the resource-tools toolbar 128.
std::span<const int> ResourceToolBarButtons(int kind);
