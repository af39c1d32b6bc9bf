#include "collections/CollectionDialogs.h"

#include "app/Ports.h"
#include "app/TextUtil.h"

#include <filesystem>

bool CheckNewCollectionDirectory(CPrompt& prompt, std::string_view text) {
    if (text.empty()) {
        prompt.Message("Select any base directory for your collection, please.");
        return false;
    }
    if (text.front() != '/') {
        prompt.Message(Format("Directory\r\n\"%.*s\"\r\nis not correct.", int(text.size()), text.data()));
        return false;
    }
    return true;
}

bool IsForbiddenNameCharacter(char c) {
    switch (c) {
    case ' ':
    case '\t':
    case '\\':
    case ':':
    case '!':
    case '.':
    case '*':
    case '?':
    case '#':
    case '\r':
    case '\n': return true;
    default: return false;
    }
}

bool CheckTypedCollectionName(CPrompt& prompt, std::string_view name) {
    for (const char c : name)
        if (IsForbiddenNameCharacter(c)) {
            prompt.Message("It's not allowed symbol.");
            return false;
        }
    return true;
}

bool CheckTypedCollectionField(CPrompt& prompt, std::string_view text) {
    if (text.find_first_of("#\r\n") == std::string_view::npos) return true;
    prompt.Message("It's not allowed symbol.");
    return false;
}

bool CheckCollectionInfo(CPrompt& prompt, std::string_view name, std::string_view description,
                         std::string_view extensions) {
    bool nameOk = !name.empty() && name.size() <= kMaxCollectionNameLength;
    for (const char c : name) nameOk = nameOk && !IsForbiddenNameCharacter(c);
    if (!nameOk) {
        prompt.Message("Please, insert a real collection name.");
        return false;
    }
    return CheckTypedCollectionField(prompt, description) && CheckTypedCollectionField(prompt, extensions);
}

std::string CollectionInfoSummary(std::string_view name, std::string_view baseDirectory,
                                  std::string_view collectionFile) {
    const std::string file = std::filesystem::path(collectionFile).filename().string();
    return "Name:\t" + std::string(name) + "\r\nDir.:\t" + std::string(baseDirectory) + "\r\nFile:\t" + file;
}

int FindCatalogueEntryByName(const std::vector<std::string>& names, std::string_view name) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return int(i);
    return -1;
}

std::string CatalogueEntryText(std::string_view baseDirectory, std::string_view description) {
    std::string text = baseDirectory.empty() ? "It's a favorite collection.\r\n" : std::string(baseDirectory) + "\r\n";
    return text + std::string(description);
}

std::string OpenDialogInitialText(bool catalogueEmpty, bool chooseMode, bool preselected) {
    if (catalogueEmpty) return "Open existen collection.";
    if (chooseMode && !preselected) return "Choose collection";
    return "Open existen collection:";
}

std::string OpenDialogTitle(bool chooseMode) { return chooseMode ? "Choose collection" : "Open collection"; }

bool CheckOpenSelection(CPrompt& prompt, int selection) {
    if (selection >= 0) return true;
    prompt.Message("Select any collection, please.");
    return false;
}

bool CheckFavoritesSelection(CPrompt& prompt, std::size_t selected) {
    if (selected > 0) return true;
    prompt.Message("Select some line for delete, please.");
    return false;
}
