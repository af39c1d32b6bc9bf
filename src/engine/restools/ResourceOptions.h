#pragma once

#include "restools/RcScript.h"

#include <filesystem>
#include <string>
#include <string_view>

class CPrompt;
class CSettings;

// The options dialog of the RC checks ("Options of rc-file checking").
struct CRcOptions {
    CRcGroups groups;
    bool allText = false; // only shown (and stored) in the identifier search
};
CRcOptions LoadRcOptions(const CSettings& settings);
// OK of the dialog: the groups, and "optinsRC_ALL" only when the all-text box was shown.
void SaveRcOptions(CSettings& settings, const CRcOptions& options, bool withAllText);

// The project search dialog ("Path of project for searching").
struct CProjectSearchOptions {
    std::string folder;
    std::string keyword;
    std::string extensions;
    bool negative = false;
};
inline constexpr std::string_view kDefaultProjectExtensions = ".h, .c, .cpp";
// The dialog's start values: the folder of the loaded document and the stored values.
CProjectSearchOptions LoadProjectSearchOptions(const CSettings& settings, const std::filesystem::path& documentPath);
// OK of the dialog: false (after "Project path is empty!") keeps it open; otherwise the keyword
// is cut to its first word and the values are stored.
bool AcceptProjectSearchOptions(CPrompt& prompt, CSettings& settings, CProjectSearchOptions& options);
std::string FirstWord(std::string_view text);

// The dialogs the resource commands open; the windows show them, quillbox-cli answers from its
// arguments. Both return false for Cancel.
class CResourceDialogs {
public:
    virtual ~CResourceDialogs() = default;
    // Loads the options with LoadRcOptions and stores them with SaveRcOptions on OK.
    virtual bool RunRcOptionsDialog(bool withAllText) = 0;
    // Starts from options; OK goes through AcceptProjectSearchOptions.
    virtual bool RunProjectSearchDialog(CProjectSearchOptions& options) = 0;
};
