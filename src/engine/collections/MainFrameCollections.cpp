#include "collections/MainFrameCollections.h"

#include "app/FileAccess.h"
#include "app/Ports.h"
#include "app/QuietPorts.h"
#include "app/SettingsKeys.h"
#include "app/TextUtil.h"
#include "collections/CCollectionCommands.h"
#include "collections/CCollections.h"

#include <fstream>
#include <optional>

namespace fs = std::filesystem;

namespace {

std::string TrimTrailingSlashes(std::string dir) {
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

// The collection file a refresh would use, without asking or storing anything; nullopt with the
// default directory in missingDirectory when that directory is gone.
std::optional<fs::path> CurrentCollectionFile(const CCollections& collections, const CSettings& settings,
                                              std::string& missingDirectory) {
    std::string dir = TrimTrailingSlashes(settings.Get(kMainDir));
    if (dir.empty()) dir = (collections.WorkingDirectory() / "helpContain").string();
    if (!IsDirectory(dir)) {
        missingDirectory = dir;
        return std::nullopt;
    }
    return collections.Store().GetCollectionFilePath(dir);
}

std::optional<std::string> ReadHeaderLine(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

} // namespace

std::string GetCollectionInformationText(const CCollections& collections, const CSettings& settings, bool windowOpen,
                                         bool forTip) {
    if (windowOpen) return collections.Store().Name();
    if (!collections.AnyCollectionFiles()) return "But any collections did not registre yet.";

    fs::path file;
    if (collections.FavoritesExist() && settings.Get(kWasFavorite) != 0) {
        file = collections.FavoritesPath();
    } else {
        std::string missing;
        const auto found = CurrentCollectionFile(collections, settings, missing);
        if (!found) {
            if (!forTip) return {};
            return Format("WARNING: Default collection\r\n%s\r\nis not found.\r\nYou can use\r\n"
                          "\"Cange the collection path\" tools.",
                          missing.c_str());
        }
        file = *found;
    }

    const auto header = ReadHeaderLine(file);
    if (!header)
        return Format("\r\nFile of collection\r\n\"%s\"\r\nnow is absent.\r\nYou can use\r\n"
                      "\"Cange the collection path\" tools.",
                      file.c_str());
    CFixedAnswerPrompt silent(false);
    CCollectionStore reader(silent, collections.WorkingDirectory());
    reader.ParseCollectionHeader(*header + "\r\n");
    const auto& fields = reader.HeaderFields();
    std::string text = "name: \"" + fields[0] + "\"\r\ninf-file: " + file.string();
    if (!fields[1].empty()) text += "\r\nwork path" + fields[1];
    if (!fields[2].empty()) text += "\r\nabout: " + fields[2];
    return text;
}

std::string RefreshButtonTipText(const std::string& information) {
    return "Refresh collection\r\n" + (information.empty() ? std::string("by you chosen from list.") : information);
}

bool ChooseCollectionFirst(CCollections& collections, CSettings& settings,
                           const std::function<bool(COpenCollectionDialogData&)>& openDialog) {
    if (!openDialog) return false;
    COpenCollectionDialogData data;
    data.preselected = collections.BuildCatalogue();
    data.catalogue = &collections.Catalogue();
    if (!openDialog(data)) return false;
    const auto& catalogue = collections.Catalogue();
    if (data.selected < 0 || std::size_t(data.selected) >= catalogue.size()) return false;
    const CCatalogueEntry& entry = catalogue[std::size_t(data.selected)];
    if (entry.baseDirectory.empty() && collections.FavoritesExist()) {
        settings.Set(kWasFavorite, 1);
    } else {
        settings.Set(kMainDir, TrimTrailingSlashes(entry.baseDirectory));
        // Left at 1, the command would open the favorites instead of the chosen collection.
        settings.Set(kWasFavorite, 0);
    }
    return true;
}
