#include "collections/CCollections.h"

#include "app/FileAccess.h"
#include "app/Ports.h"
#include "app/SettingsKeys.h"
#include "app/TextUtil.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* kFavoritesHeader = "#Favorites#";

bool IsCollectionFileName(std::string_view name) {
    return name.size() > 4 && EqualsNoCase(name.substr(name.size() - 4), ".inf");
}

// The regular files of dir named *.inf, in the order the file system lists them.
std::vector<std::filesystem::path> ListCollectionFiles(const std::filesystem::path& dir, bool firstOnly) {
    std::vector<std::filesystem::path> out;
    DIR* d = ::opendir(dir.c_str());
    if (!d) return out;
    while (const dirent* e = ::readdir(d)) {
        if (!IsCollectionFileName(e->d_name)) continue;
        const std::filesystem::path p = dir / e->d_name;
        struct stat st {};
        if (::stat(p.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        out.push_back(p);
        if (firstOnly) break;
    }
    ::closedir(d);
    return out;
}

// Line 1 of a file without reading the rest: a catalogue of large collections stays quick.
std::optional<std::string> ReadFirstLine(const std::filesystem::path& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return std::nullopt;
    std::string line;
    char buf[4096];
    bool done = false;
    while (!done) {
        const std::size_t n = std::fread(buf, 1, sizeof buf, f);
        if (n == 0) break;
        std::string_view chunk(buf, n);
        const std::size_t end = chunk.find_first_of("\r\n");
        if (end != std::string_view::npos) {
            chunk = chunk.substr(0, end);
            done = true;
        }
        line.append(chunk);
    }
    std::fclose(f);
    return line;
}

std::string_view LocationOfLine(std::string_view line) { return line.substr(0, line.find('#')); }

} // namespace

bool CheckFavoritesAtStart(CPrompt& prompt, const std::filesystem::path& workingDirectory) {
    const std::filesystem::path path = workingDirectory / CCollections::kFavoritesFileName;
    const auto text = ReadWholeFile(prompt, path);
    if (!text) return false;
    // Judged by its lines rather than its size: a short record still counts.
    if (CCollectionStore::SplitRecordLines(*text).empty()) {
        std::error_code ec;
        std::filesystem::remove(path, ec);
        return false;
    }
    return true;
}

CCollections::CCollections(CPorts& ports, std::filesystem::path workingDirectory)
    : m_ports(ports), m_workingDir(std::move(workingDirectory)), m_store(ports.prompt, m_workingDir) {
    const auto text = ReadWholeFile(ports.prompt, FavoritesPath());
    m_favoritesExist = text && !CCollectionStore::SplitRecordLines(*text).empty();
}

int CCollections::BuildCatalogue() {
    m_catalogue.clear();
    CCollectionStore reader(m_ports.prompt, m_workingDir);
    for (const auto& p : ListCollectionFiles(m_workingDir, false)) {
        CCatalogueEntry e{p, {}, {}, {}};
        reader.ParseCollectionHeader(ReadFirstLine(p).value_or(std::string()));
        e.name = reader.HeaderFields()[0];
        e.baseDirectory = reader.HeaderFields()[1];
        e.description = reader.HeaderFields()[2];
        m_catalogue.push_back(std::move(e));
    }
    const std::string current = m_store.CollectionFilePath().string();
    for (std::size_t i = 0; i < m_catalogue.size(); ++i)
        if (!current.empty() && EqualsNoCase(m_catalogue[i].path.string(), current)) return int(i);
    return -1;
}

bool CCollections::AnyCollectionFiles() const { return !ListCollectionFiles(m_workingDir, true).empty(); }

void CCollections::CheckFavoritesAtStart() { m_favoritesExist = ::CheckFavoritesAtStart(m_ports.prompt, m_workingDir); }

bool CCollections::ShowFavorites() {
    if (!m_favoritesExist) return false;
    Busy(true);
    const CShownCollection shown = TakeShown();
    m_store.SetCollectionFilePath(FavoritesPath());
    m_store.SetFavoritesView(true);
    m_store.SetBaseDirectory("");
    const std::size_t n = m_store.LoadCollection();
    if (n == 0) {
        m_ports.prompt.Message("Favorites is empty.");
        // Only a file that was read and holds no record goes; an unreadable one is kept.
        if (!m_store.IsAbsent()) {
            std::error_code ec;
            std::filesystem::remove(FavoritesPath(), ec);
            m_favoritesExist = false;
        }
        // The window still shows the collection it showed before.
        if (shown.favoritesView) m_store.ResetCurrentCollection();
        else
            RestoreShown(shown);
        Busy(false);
        return false;
    }
    m_store.ShowWholeList();
    if (m_hooks.refillWindow) m_hooks.refillWindow();
    Busy(false);
    m_ports.settings.Set(kWasFavorite, 1);
    return true;
}

bool CCollections::AddToFavorites(std::size_t row) {
    if (m_store.IsFavoritesView()) return false;
    const auto index = m_store.RecordOfRow(row);
    if (!index) return false;
    const CCollectionRecord& r = m_store.Records()[*index];
    if (IsFavorite(r.location)) return false;
    const std::string line = r.location + "#" + r.description + "#" + r.groups + "\r\n";
    std::string text;
    // Read even when no favorites were known: another run may have made the file since.
    auto old = ReadWholeFile(m_ports.prompt, FavoritesPath());
    std::error_code ec;
    if (!old && std::filesystem::exists(std::filesystem::symlink_status(FavoritesPath(), ec))) {
        // There but unreadable: writing a new file would lose every favorite in it.
        m_ports.prompt.Message(
            Format("Can not read the favorites file\r\n\"%s\".\r\nNothing was added to it.", FavoritesPath().c_str()));
        return false;
    }
    if (old && !old->empty()) {
        text = std::move(*old);
        // A last line without its line end would otherwise swallow the new record.
        if (text.back() != '\n' && text.back() != '\r') text += "\r\n";
    } else if (!old && m_favoritesExist) {
        m_ports.prompt.Message("Can not find old favorite file.\r\nWill create a new now.");
    }
    if (text.empty()) text = std::string(kFavoritesHeader) + "\r\n";
    text += line;
    if (!WriteWholeFile(m_ports.prompt, FavoritesPath(), text, true)) return false;
    m_favoritesExist = true;
    return true;
}

bool CCollections::IsFavorite(std::string_view location) const {
    const auto text = ReadWholeFile(m_ports.prompt, FavoritesPath());
    if (!text) return false;
    const std::string_view all(*text);
    const auto names = [&](std::string_view line) { return EqualsNoCase(LocationOfLine(line), location); };
    // Line 1 is passed over only when it is a header.
    if (!all.empty() && all.front() != '#' && names(all.substr(0, CCollectionStore::HeaderLineEnd(all)))) return true;
    const auto lines = CCollectionStore::SplitRecordLines(all);
    return std::any_of(lines.begin(), lines.end(), names);
}

std::optional<std::vector<std::string>> CCollections::FavoriteLocations() const {
    const auto text = ReadWholeFile(m_ports.prompt, FavoritesPath());
    if (!text) return std::nullopt;
    std::vector<std::string> out;
    for (const std::string_view line : CCollectionStore::SplitRecordLines(*text))
        out.emplace_back(LocationOfLine(line));
    return out;
}

bool CCollections::DeleteFavorites(std::vector<std::size_t> indexes) {
    const auto text = ReadWholeFile(m_ports.prompt, FavoritesPath());
    if (!text) return false;
    std::sort(indexes.begin(), indexes.end());
    const auto lines = CCollectionStore::SplitRecordLines(*text);
    std::string out(std::string_view(*text).substr(0, CCollectionStore::HeaderLineEnd(*text)));
    out += "\r\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (std::binary_search(indexes.begin(), indexes.end(), i)) continue;
        out.append(lines[i]);
        out += "\r\n";
    }
    if (!WriteWholeFile(m_ports.prompt, FavoritesPath(), out, true)) return false;
    if (m_store.IsFavoritesView()) {
        m_store.EraseRecords(std::move(indexes));
        if (m_hooks.refillWindow) m_hooks.refillWindow();
    }
    return true;
}

bool CCollections::ConfirmDeleteAllFavorites() {
    return m_ports.prompt.Ask("Will remove all your favorites.\r\n\r\nAre you sure?", "Delete Favorites",
                              EPromptButtons::YesNoCancel, EPromptIcon::Question) == EPromptAnswer::Yes;
}

void CCollections::RemoveAllFavorites() {
    const bool shown = m_store.IsFavoritesView();
    // The view's rows belong to a file that goes now: no edit may reach it any more.
    if (shown) m_store.ResetCurrentCollection();
    std::error_code ec;
    std::filesystem::remove(FavoritesPath(), ec);
    m_favoritesExist = false;
    m_ports.prompt.Message("Favorites is empty now.");
    if (shown && m_hooks.refillWindow) m_hooks.refillWindow();
}

bool CCollections::DeleteFavoritesByLocation(const std::vector<std::string>& locations, bool deleteAll) {
    const auto text = ReadWholeFile(m_ports.prompt, FavoritesPath());
    if (!text) return false;
    const auto lines = CCollectionStore::SplitRecordLines(*text);
    std::vector<std::size_t> indexes;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view loc = LocationOfLine(lines[i]);
        if (std::any_of(locations.begin(), locations.end(), [&](const std::string& l) { return EqualsNoCase(l, loc); }))
            indexes.push_back(i);
    }
    if (indexes.empty() && !deleteAll) return false;
    if (!deleteAll && indexes.size() < lines.size()) return DeleteFavorites(std::move(indexes));
    RemoveAllFavorites();
    return true;
}

bool CCollections::DeleteFavoriteRow(std::size_t row) {
    if (!m_store.IsFavoritesView()) return false;
    const auto index = m_store.RecordOfRow(row);
    if (!index) return false;
    if (m_store.RecordCount() == 1) {
        RemoveAllFavorites();
        return true;
    }
    return DeleteFavorites({*index});
}

void CCollections::MoveFavorites(const CLocationIndex& oldIndex, const std::string& oldBase) {
    if (!IsExistingFile(FavoritesPath(), false)) {
        m_favoritesExist = false;
        return;
    }
    const auto notMoved = [&] {
        m_ports.prompt.Message(Format("Can not update the favorites file\r\n\"%s\".\r\nIts favorites of this "
                                      "collection still name the old directory.",
                                      FavoritesPath().c_str()));
    };
    auto text = ReadWholeFile(m_ports.prompt, FavoritesPath());
    if (!text) return notMoved();
    const std::string& newBase = m_store.BaseDirectory();
    const std::string_view all(*text);
    std::string out(all.substr(0, CCollectionStore::HeaderLineEnd(all)));
    out += "\r\n";
    bool moved = false;
    for (const std::string_view line : CCollectionStore::SplitRecordLines(all)) {
        const std::string_view loc = LocationOfLine(line);
        if (loc.size() > oldBase.size() && StartsWithNoCase(loc, oldBase) &&
            oldIndex.Find(loc.substr(oldBase.size()))) {
            out += newBase;
            out.append(line.substr(oldBase.size()));
            moved = true;
        } else {
            out.append(line);
        }
        out += "\r\n";
    }
    if (moved && !WriteWholeFile(m_ports.prompt, FavoritesPath(), out, true)) notMoved();
}

bool CCollections::OpenCurrentCollection(const CRefreshOptions& options) {
    bool ok = false;
    if (m_favoritesExist && m_ports.settings.Get(kWasFavorite) == 1) {
        ok = ShowFavorites();
    } else {
        CRefreshOptions run = options;
        run.knownDirectory = false;
        ok = RefreshCollectionWithUI(run);
    }
    if (ok) {
        m_store.ShowWholeList();
        if (m_hooks.refillWindow) m_hooks.refillWindow();
    }
    return ok;
}
