#include "restools/ResourceOptions.h"

#include "app/Ports.h"

namespace {
constexpr std::string_view kSection = "Default";
}

CRcOptions LoadRcOptions(const CSettings& settings) {
    CRcOptions o;
    o.groups.strings = settings.GetInt(kSection, "optinsRC_STR", 0) != 0;
    o.groups.dialogs = settings.GetInt(kSection, "optinsRC_DLG", 0) != 0;
    o.groups.menus = settings.GetInt(kSection, "optinsRC_MENU", 0) != 0;
    o.allText = settings.GetInt(kSection, "optinsRC_ALL", 0) != 0;
    return o;
}

void SaveRcOptions(CSettings& settings, const CRcOptions& options, bool withAllText) {
    settings.WriteInt(kSection, "optinsRC_STR", options.groups.strings ? 1 : 0);
    settings.WriteInt(kSection, "optinsRC_DLG", options.groups.dialogs ? 1 : 0);
    settings.WriteInt(kSection, "optinsRC_MENU", options.groups.menus ? 1 : 0);
    if (withAllText) settings.WriteInt(kSection, "optinsRC_ALL", options.allText ? 1 : 0);
}

CProjectSearchOptions LoadProjectSearchOptions(const CSettings& settings,
                                               const std::filesystem::path& documentPath) {
    CProjectSearchOptions o;
    o.folder = documentPath.parent_path().string();
    o.keyword = settings.GetString(kSection, "rs_search_bound", "");
    o.extensions = settings.GetString(kSection, "rs_search_ext", "");
    if (o.extensions.empty()) o.extensions = kDefaultProjectExtensions;
    o.negative = settings.GetInt(kSection, "rs_search_negative", 0) != 0;
    return o;
}

std::string FirstWord(std::string_view text) {
    std::size_t s = 0;
    while (s < text.size() && (text[s] == ' ' || text[s] == '\t')) ++s;
    const std::size_t e = text.find_first_of(" \t\r\n", s);
    return std::string(text.substr(s, e == std::string_view::npos ? std::string_view::npos : e - s));
}

bool AcceptProjectSearchOptions(CPrompt& prompt, CSettings& settings, CProjectSearchOptions& options) {
    if (options.folder.empty()) {
        prompt.Message("Project path is empty!");
        return false;
    }
    options.keyword = FirstWord(options.keyword);
    settings.WriteString(kSection, "rs_search_ext", options.extensions);
    settings.WriteString(kSection, "rs_search_bound", options.keyword);
    settings.WriteInt(kSection, "rs_search_negative", options.negative ? 1 : 0);
    return true;
}
