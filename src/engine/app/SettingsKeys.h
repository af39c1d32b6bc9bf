#pragma once

#include "app/Ports.h"

#include <array>
#include <cstddef>
#include <string_view>

// Every value the program keeps in the settings store: its type, section, value name and the
// default a missing value reads as. Code reads and writes settings only through these constants
// (CSettings::Get and Set), so a misspelt name fails to compile instead of reading the default.
// The names are the store's and stay as they are, odd spelling included: users' stored values
// are found under them.
//
// Each row X(type, constant, section, value, default) defines `inline constexpr type constant`.
#define QUILLBOX_SETTINGS(X)                                                                 \
    /* The program's general section: the current collection and the tools' last folders. */ \
    X(CIntSetting, kPrevMainWin, "Property", "prevMainWin", 0)                               \
    X(CStringSetting, kInfoDir, "Property", "infoDir", "")                                   \
    X(CStringSetting, kMainDir, "Property", "mainDir", "")                                   \
    X(CStringSetting, kMainDirExt, "Property", "mainDirExt", "")                             \
    /* 1 while the favorites are the current collection; read as "== 1", written 1 or 0. */  \
    X(CIntSetting, kWasFavorite, "Property", "wasFavorite", 0)                               \
    X(CStringSetting, kLastBrowDir, "Property", "lastBrowDir", "")                           \
    X(CStringSetting, kCopyAllSource, "Property", "copyDir", "")                             \
    X(CStringSetting, kCopyAllTarget, "Property", "copyDir2", "")                            \
    X(CStringSetting, kSaveAsOldProjFile, "Property", "oldProjFile", "")                     \
    X(CStringSetting, kSaveAsNewProjFile, "Property", "newProjFile", "")                     \
    X(CStringSetting, kSaveAsProjDir, "Property", "saveAsProjDir", "")                       \
                                                                                             \
    /* The text documents' open and save dialogs, and the resource tools' options. */        \
    X(CStringSetting, kLoadFileName, "Default", "loadFileName", "")                          \
    X(CBoolSetting, kRcStrings, "Default", "optinsRC_STR", false)                            \
    X(CBoolSetting, kRcDialogs, "Default", "optinsRC_DLG", false)                            \
    X(CBoolSetting, kRcMenus, "Default", "optinsRC_MENU", false)                             \
    X(CBoolSetting, kRcAllText, "Default", "optinsRC_ALL", false)                            \
    /* Empty is shown as kDefaultProjectExtensions. */                                       \
    X(CStringSetting, kProjectSearchExt, "Default", "rs_search_ext", "")                     \
    X(CStringSetting, kProjectSearchKeyword, "Default", "rs_search_bound", "")               \
    X(CBoolSetting, kProjectSearchNegative, "Default", "rs_search_negative", false)          \
                                                                                             \
    X(CBoolSetting, kAttributesToAll, "LocalOption", "checkMakeAllAttributes", false)        \
                                                                                             \
    /* "%s;%lu;%lu": face name, height in twips, effect flags. */                            \
    X(CStringSetting, kViewFont, "ViewSetting", "FOnt", "")                                  \
                                                                                             \
    /* The main frame's normal rectangle and show state. */                                  \
    X(CIntSetting, kMainPlaceLeft, "MainPlace", "mainWinLeft", 0)                            \
    X(CIntSetting, kMainPlaceTop, "MainPlace", "mainWinTop", 0)                              \
    X(CIntSetting, kMainPlaceRight, "MainPlace", "mainWinRight", 0)                          \
    X(CIntSetting, kMainPlaceBottom, "MainPlace", "mainWinBottom", 0)                        \
    X(CIntSetting, kMainPlaceShow, "MainPlace", "mainWinShow", 0)                            \
                                                                                             \
    /* The collection window's: the same value names in a section of its own. */             \
    X(CIntSetting, kCollectionPlaceLeft, "CollectionPlace", "mainWinLeft", 0)                \
    X(CIntSetting, kCollectionPlaceTop, "CollectionPlace", "mainWinTop", 0)                  \
    X(CIntSetting, kCollectionPlaceRight, "CollectionPlace", "mainWinRight", 0)              \
    X(CIntSetting, kCollectionPlaceBottom, "CollectionPlace", "mainWinBottom", 0)            \
    X(CIntSetting, kCollectionPlaceShow, "CollectionPlace", "mainWinShow", 0)                \
    /* Column widths in pixels. */                                                           \
    X(CIntSetting, kColumnWidth0, "ColumnPos", "pos0", 0)                                    \
    X(CIntSetting, kColumnWidth1, "ColumnPos", "pos1", 0)                                    \
    X(CIntSetting, kColumnWidth2, "ColumnPos", "pos2", 0)                                    \
    /* "%s;%lu;%d;%d;%d": face name, height, italic flag, weight, character set. */          \
    X(CStringSetting, kCollectionFont, "CollectionSetting", "Font", "")                      \
    /* 32-bit RGB; negative means none stored. */                                            \
    X(CIntSetting, kCollectionColor, "CollectionSetting", "Color", -1)                       \
                                                                                             \
    X(CStringSetting, kSearchKeyword, "Searching", "keyword", "")                            \
    X(CBoolSetting, kSearchNoCase, "Searching", "nocase", false)                             \
                                                                                             \
    /* The keyword combo box's words, list0 the most recent; see kComboListWords. */         \
    X(CIntSetting, kComboListCount, "Combolist", "count", 0)                                 \
    X(CStringSetting, kComboList0, "Combolist", "list0", "")                                 \
    X(CStringSetting, kComboList1, "Combolist", "list1", "")                                 \
    X(CStringSetting, kComboList2, "Combolist", "list2", "")                                 \
    X(CStringSetting, kComboList3, "Combolist", "list3", "")                                 \
    X(CStringSetting, kComboList4, "Combolist", "list4", "")                                 \
    X(CStringSetting, kComboList5, "Combolist", "list5", "")                                 \
    X(CStringSetting, kComboList6, "Combolist", "list6", "")                                 \
    X(CStringSetting, kComboList7, "Combolist", "list7", "")                                 \
    X(CStringSetting, kComboList8, "Combolist", "list8", "")                                 \
    X(CStringSetting, kComboList9, "Combolist", "list9", "")                                 \
                                                                                             \
    /* The ten most recently opened text documents, File1 the most recent. */                \
    X(CStringSetting, kRecentFile1, "Recent File List", "File1", "")                         \
    X(CStringSetting, kRecentFile2, "Recent File List", "File2", "")                         \
    X(CStringSetting, kRecentFile3, "Recent File List", "File3", "")                         \
    X(CStringSetting, kRecentFile4, "Recent File List", "File4", "")                         \
    X(CStringSetting, kRecentFile5, "Recent File List", "File5", "")                         \
    X(CStringSetting, kRecentFile6, "Recent File List", "File6", "")                         \
    X(CStringSetting, kRecentFile7, "Recent File List", "File7", "")                         \
    X(CStringSetting, kRecentFile8, "Recent File List", "File8", "")                         \
    X(CStringSetting, kRecentFile9, "Recent File List", "File9", "")                         \
    X(CStringSetting, kRecentFile10, "Recent File List", "File10", "")                       \
                                                                                             \
    X(CStringSetting, kReplaceFrom, "replaceSettings", "str0", "")                           \
    X(CStringSetting, kReplaceTo, "replaceSettings", "str2", "")                             \
    X(CStringSetting, kReplaceAlsoFrom, "replaceSettings", "sw0", "")                        \
    X(CStringSetting, kReplaceAlsoTo, "replaceSettings", "sw2", "")                          \
    X(CStringSetting, kReplaceExt, "replaceSettings", "ext", "")                             \
                                                                                             \
    /* The table control's default font. */                                                  \
    X(CIntSetting, kTableFontSize, "options", "fontSize", 0)                                 \
    X(CStringSetting, kTableFontName, "options", "fontName", "")                             \
    /* A font weight such as 400 or 700. */                                                  \
    X(CIntSetting, kTableFontBold, "options", "fontBold", 0)                                 \
    X(CIntSetting, kTableFontItalic, "options", "fontItalic", 0)

#define QUILLBOX_DEFINE_SETTING(type, name, section, value, def) inline constexpr type name{section, value, def};
QUILLBOX_SETTINGS(QUILLBOX_DEFINE_SETTING)
#undef QUILLBOX_DEFINE_SETTING

// The keyword list holds at most ten words.
inline constexpr std::array<CStringSetting, 10> kComboListWords{kComboList0, kComboList1, kComboList2, kComboList3,
                                                                kComboList4, kComboList5, kComboList6, kComboList7,
                                                                kComboList8, kComboList9};

inline constexpr std::array<CStringSetting, 10> kRecentFiles{kRecentFile1, kRecentFile2, kRecentFile3, kRecentFile4,
                                                             kRecentFile5, kRecentFile6, kRecentFile7, kRecentFile8,
                                                             kRecentFile9, kRecentFile10};

namespace SettingsKeysCheck {

struct CKey {
    std::string_view section;
    std::string_view value;
};

#define QUILLBOX_SETTING_KEY(type, name, section, value, def) CKey{section, value},
inline constexpr CKey kAll[] = {QUILLBOX_SETTINGS(QUILLBOX_SETTING_KEY)};
#undef QUILLBOX_SETTING_KEY

// Two constants for one stored value would let one overwrite the other's data, possibly with a
// different type or default.
constexpr bool Unique() {
    for (std::size_t i = 0; i < std::size(kAll); ++i)
        for (std::size_t j = i + 1; j < std::size(kAll); ++j)
            if (kAll[i].section == kAll[j].section && kAll[i].value == kAll[j].value) return false;
    return true;
}
static_assert(Unique(), "two settings name the same section and value");

} // namespace SettingsKeysCheck

#undef QUILLBOX_SETTINGS
