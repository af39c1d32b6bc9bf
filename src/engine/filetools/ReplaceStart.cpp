#include "filetools/ReplaceStart.h"

#include "app/SettingsKeys.h"
#include "collections/CCollections.h"

#include <fstream>

namespace fs = std::filesystem;

namespace {

// The extension list of a collection file's header line; empty when it cannot be read.
std::string ExtensionListOf(CPrompt& prompt, const CCollections& collections, const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string first;
    if (!in || !std::getline(in, first)) return {};
    CCollectionStore reader(prompt, collections.WorkingDirectory());
    reader.ParseCollectionHeader(first);
    return reader.HeaderFields()[3];
}

} // namespace

std::optional<CReplaceScope> StartReplace(CPorts& ports, CCollections& collections, bool windowHasFocus,
                                          bool windowOpen,
                                          const std::function<bool(COpenCollectionDialogData&)>& chooseDialog) {
    if (windowHasFocus) return CReplaceScope::FromCollections(collections, windowOpen);
    COpenCollectionDialogData data;
    data.chooseMode = true;
    data.preselected = collections.BuildCatalogue();
    data.catalogue = &collections.Catalogue();
    if (!chooseDialog || !chooseDialog(data)) return std::nullopt;
    if (data.selected < 0 || std::size_t(data.selected) >= collections.Catalogue().size()) return std::nullopt;
    const CCatalogueEntry entry = collections.Catalogue()[std::size_t(data.selected)];

    CReplaceScope scope;
    scope.collections = &collections;
    scope.collectionWindowOpen = windowOpen;
    if (entry.baseDirectory.empty()) {
        // Only the favorites file has no base directory.
        scope.favorites = true;
        ports.settings.Set(kWasFavorite, 1);
        return scope;
    }
    std::string dir = fs::path(entry.baseDirectory).lexically_normal().string();
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    scope.baseDirectory = dir;
    ports.settings.Set(kMainDir, dir);
    const std::string extensions = ExtensionListOf(ports.prompt, collections, entry.path);
    if (!extensions.empty() && extensions != "*.*") ports.settings.Set(kMainDirExt, extensions);
    return scope;
}
