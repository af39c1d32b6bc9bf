#include "app/ContextHelp.h"

#include "app/Ports.h"

#include <algorithm>
#include <iterator>

namespace {

struct CHelpText {
    unsigned long id;
    std::string_view text;
};

#define QUILLBOX_SAVE_PROJECT_HELP(SOURCE, TARGET)                                                      \
    "  If project name is not good you can change it by SaveAs!\r\nAll working files (not object "      \
    "and other temporarily) of project\r\nwill copy to a new folder and will according change its "     \
    "names,\r\nits contents, its class-members and other words in all necessary files.\r\n\r\nYou'll "  \
    "can then simply to compile its.\r\n\r\nFirst prepare a new folder for a new project.\r\nThen run " \
    "this tool and choose a " SOURCE ",\r\ninsert a new folder's path with a " TARGET " in bottom edit box.\r\nOK!"

// The texts keep their own spelling: users know them from the help they have read.
constexpr CHelpText kTexts[] = {
    {57634, "  You would to copy to clipboard content of loaded file.\r\n"},
    {57635, "  You would to cut to clipboard content of loaded file.\r\n"},
    {57636, "  Find tool (F3).\r\n"},
    {57637, "  You would to past from clipboard.\r\n"},
    {57607, "  You would to print content of loaded file.\r\n"},
    {57601, "  Open \"Resource.h\" or any \"*.RC\" file type.\r\n"},
    {57603, "  You would to save changes of loaded file.\r\n"},
    {32042, "  It's combobox for collect searched keywords.\r\nAfter you choose the keyword you'll simply "
            "press F3 for its searching in text"},
    {32007, "  It's a tool for searching in text.\r\nChoose a keyword and then press F3 for find a next "
            "location."},
    {32026, "  Use it for go to next lokation of chosen keyword (analog F3)"},
    {10039, "Save content to another file witout reloading current document."},
    {32008, "  After loading any \"Resource.h\" file\r\nwill rewrite it with correct all its identifier's "
            "values.\r\nIn result we'll get a good file for normal working (with MFC support too)."},
    {32027, "  After loading any \"Resource.h\" file\r\nyou can to invert red and black color of identifiers."},
    {32025, "  After loading any \"Resource.h\" file\r\nyou can to exlude all identifiers in red color."},
    {32014, "  After loading base \"*.RC\" file and its compare with another\r\nyou would to go to next color "
            "selection.\r\n"},
    {32017, "  After loading base \"*.RC\" file and its compare with another\r\nyou would to collapse all "
            "color selected lines.\r\n"},
    {32019, "  After loading base \"*.RC\" file and collapse all color selected lines\r\nyou would to restore "
            "view base RC-file text as it's was before collapse.\r\n"},
    {32012, "  After loading base \"*.RC\" file\r\nyou would to compare it with another \"*.RC\" file.\r\nIn "
            "option dialog you would to choose some compare parameters.\r\n\r\nCompare result shows:\r\nIn "
            "blue - this string is identical in both files (you forgot to translate it for another "
            "language)\r\nIn red - this string is absent in another file.\t\t"},
    {32033, "  After loading any \"Resource.h\" file\r\nwill show dialog and than may be two ways:\r\n1. If "
            "you set checbox \"All text of RC file\".\r\nWill searching in all RC-files in \"Resource.h\" "
            "directory\r\nand will selected (in red color) identifiers were absented in all RC-files.\r\n2. "
            "In another case you must be choose a single RC-file (in Open File dialog)\r\nand will searching "
            "in this file for identifiers\r\n(but only for chosen resource groups (dialogs, menu or "
            "strintable)."},
    {32041, QUILLBOX_SAVE_PROJECT_HELP("source DSP-file", "new DSP-file name")},
    {10042, QUILLBOX_SAVE_PROJECT_HELP("source project-file", "new project-file name")},
    {32024, "  After loading any \"Resource.h\" file\r\nyou would to check for all of Resource.h "
            "identifiers:\r\n\r\nis existents it on files of project or not.\r\nWill show dialog for "
            "choosing some options:\r\npath of project,\r\nextensions of file for searching,\r\nkeyword "
            "(from preprocessor directive) that excluding or including fragments of project "
            "code,\r\ncheckbox for defining a type of searching:\r\n\"negative\" - means that if was "
            "difined \"#ifndef KEYWORD\"\r\nnext code fragment will be miss before \"#endif\" or "
            "\"#else\"\r\n(or \"#if define KEYWORD ... #else this code will be miss\").\r\n\r\nWill show "
            "the list of resource identifiers, where\r\nred color - this identifiers was not found in "
            "project files.\r\n\r\nNOTE: before this process maybe need some prepare for Resource.h "
            "file:\r\n1. First use a \"Find in RC-file\" tool by chosen in dialog \"to search for dialog "
            "only\".\r\n(here you found all identifiers that is not dialog's controls)\r\n2. Then use a "
            "\"Invert red color\" tool\r\n(you'll get dialog controls in red)\r\n3. Then use a \"Exclude a "
            "red color identifiers from resource.h\" tool\r\n(now you get Resource.h without dialog "
            "identifiers)\r\n4. New start searching identifiers in projects files."},
};
#undef QUILLBOX_SAVE_PROJECT_HELP

} // namespace

std::optional<std::string_view> ContextHelpText(unsigned long commandId) {
    const auto it =
        std::find_if(std::begin(kTexts), std::end(kTexts), [&](const CHelpText& t) { return t.id == commandId; });
    if (it == std::end(kTexts)) return std::nullopt;
    return it->text;
}

void CContextHelp::WinHelp(CPrompt& prompt, unsigned long helpContext) {
    if (m_showing) return;
    const auto text = helpContext >= kHelpContextBase ? ContextHelpText(helpContext - kHelpContextBase) : std::nullopt;
    m_showing = true;
    if (text) prompt.Ask(*text, "Contextual help topic", EPromptButtons::Ok, EPromptIcon::Information);
    else
        prompt.Message("Sorry, Help information is absent.");
    m_showing = false;
}
