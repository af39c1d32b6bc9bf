#include "restools/ResourceOptions.h"

#include "app/Ports.h"
#include "app/SettingsKeys.h"

CRcOptions LoadRcOptions(const CSettings& settings) {
    CRcOptions o;
    o.groups.strings = settings.Get(kRcStrings);
    o.groups.dialogs = settings.Get(kRcDialogs);
    o.groups.menus = settings.Get(kRcMenus);
    o.allText = settings.Get(kRcAllText);
    return o;
}

void SaveRcOptions(CSettings& settings, const CRcOptions& options, bool withAllText) {
    settings.Set(kRcStrings, options.groups.strings);
    settings.Set(kRcDialogs, options.groups.dialogs);
    settings.Set(kRcMenus, options.groups.menus);
    if (withAllText) settings.Set(kRcAllText, options.allText);
}

CProjectSearchOptions LoadProjectSearchOptions(const CSettings& settings, const std::filesystem::path& documentPath) {
    CProjectSearchOptions o;
    o.folder = documentPath.parent_path().string();
    o.keyword = settings.Get(kProjectSearchKeyword);
    o.extensions = settings.Get(kProjectSearchExt);
    if (o.extensions.empty()) o.extensions = kDefaultProjectExtensions;
    o.negative = settings.Get(kProjectSearchNegative);
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
    settings.Set(kProjectSearchExt, options.extensions);
    settings.Set(kProjectSearchKeyword, options.keyword);
    settings.Set(kProjectSearchNegative, options.negative);
    return true;
}
