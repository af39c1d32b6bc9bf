#include "CliContext.h"
#include "LoadStored.h"

#include "app/FileAccess.h"
#include "app/SettingsKeys.h"
#include "app/TextUtil.h"
#include "collections/CCollections.h"
#include "collections/CollectionDialogs.h"

#include <cstdio>

namespace {

void PrintLine(std::string_view a) {
    std::fwrite(a.data(), 1, a.size(), stdout);
    std::fputc('\n', stdout);
}

void PrintFields(std::initializer_list<std::string_view> fields) {
    std::string line;
    bool first = true;
    for (const auto f : fields) {
        if (!first) line += '\t';
        first = false;
        line += f;
    }
    PrintLine(line);
}

// The row of the first record whose location equals location without regard to case. A
// relative location is tried against the current directory as well.
std::optional<std::size_t> FindRow(CCollections& coll, CPrompt& prompt, const std::string& location) {
    long i = coll.FindRecordByLocation(location);
    if (i < 0 && !location.empty() && location[0] != '/')
        i = coll.FindRecordByLocation(AbsoluteArgument(location).string());
    if (i < 0) {
        prompt.Message("Can not find file:\r\n" + location);
        return std::nullopt;
    }
    return std::size_t(i);
}

// The stored collection of dirArg and the row of location in it.
std::optional<std::size_t> LoadRecord(CCollections& coll, CPrompt& prompt, const std::string& dirArg,
                                      const std::string& location) {
    const std::string dir = AbsoluteArgument(dirArg).string();
    if (!LoadStored(coll, prompt, &dir)) return std::nullopt;
    return FindRow(coll, prompt, location);
}

int RunRefresh(CCliContext& ctx, const std::vector<std::string>& raw) {
    CArgs args(raw);
    const auto ext = args.TakeOption("--ext");
    const auto name = args.TakeOption("--name");
    const auto description = args.TakeOption("--description");
    const auto pos = args.Positionals();
    if (pos.size() != 1) throw CUsageError{"refresh takes one DIR"};
    const std::string dir = AbsoluteArgument(pos[0]).string();
    const auto home = ctx.Home();
    if (!home) return kExitFailed;

    CCollections coll(ctx.Ports(), *home);
    // A name as the collection dialogs take it.
    if (name && !CheckCollectionInfo(ctx.Prompt(), *name, "", "")) return kExitFailed;
    if (description && !coll.Store().CheckStorable(*description)) return kExitFailed;
    ctx.Settings().Set(kMainDir, dir);
    ctx.Settings().Set(kMainDirExt, ext.value_or("*.*"));
    // As the new and open commands: a first scan is saved without a question.
    CRefreshOptions options;
    options.noQuestion = !IsExistingFile(coll.Store().GetCollectionFilePath(dir), false);
    options.quietCreation = true;
    coll.Hooks().collectionInfoDialog = [&](CCollectionInfoFields& f) {
        if (name) f.name = *name;
        if (description) f.description = *description;
        return true;
    };
    coll.Hooks().changePathDialog = [&](const std::string&, const std::filesystem::path&) {
        ctx.Prompt().Message("This collection is absent now.\r\nPlease choose anoter.");
    };
    if (!coll.RefreshCollectionWithUI(options)) return kExitFailed;
    PrintLine(coll.Store().CollectionFilePath().string());
    return kExitOk;
}

int RunList(CCliContext& ctx, const std::vector<std::string>& raw) {
    CArgs args(raw);
    const bool favorites = args.TakeFlag("--favorites");
    const auto pos = args.Positionals();
    if (pos.size() != (favorites ? 0u : 1u)) throw CUsageError{"list takes one DIR or --favorites"};
    const auto home = ctx.Home();
    if (!home) return kExitFailed;
    CCollections coll(ctx.Ports(), *home);
    const std::string dir = favorites ? std::string() : AbsoluteArgument(pos[0]).string();
    if (!LoadStored(coll, ctx.Prompt(), favorites ? nullptr : &dir)) return kExitFailed;
    for (const auto& r : coll.Store().Records()) PrintFields({r.location, r.description, r.groups});
    return kExitOk;
}

int RunCatalogue(CCliContext& ctx, const std::vector<std::string>& raw) {
    if (!CArgs(raw).Positionals().empty()) throw CUsageError{"catalogue takes no arguments"};
    const auto home = ctx.Home();
    if (!home) return kExitFailed;
    CCollections coll(ctx.Ports(), *home);
    coll.BuildCatalogue();
    for (const auto& e : coll.Catalogue()) PrintFields({e.path.string(), e.name, e.baseDirectory, e.description});
    return coll.Catalogue().empty() ? kExitFailed : kExitOk;
}

int RunDescribe(CCliContext& ctx, const std::vector<std::string>& raw) {
    const auto pos = CArgs(raw).Positionals();
    if (pos.size() != 3) throw CUsageError{"describe takes DIR LOCATION TEXT"};
    const auto home = ctx.Home();
    if (!home) return kExitFailed;
    CCollections coll(ctx.Ports(), *home);
    const auto row = LoadRecord(coll, ctx.Prompt(), pos[0], pos[1]);
    if (!row) return kExitFailed;
    const std::string groups = coll.Store().Records()[*row].groups;
    return coll.Store().SaveChanges(*row, pos[2], groups) == ERecordWrite::Written ? kExitOk : kExitFailed;
}

int RunGroup(CCliContext& ctx, const std::vector<std::string>& raw) {
    const char* usage = "group takes DIR LOCATION add NAME... | remove NAME | clear";
    const auto pos = CArgs(raw).Positionals();
    if (pos.size() < 3) throw CUsageError{usage};
    const std::string& verb = pos[2];
    const std::vector<std::string> names(pos.begin() + 3, pos.end());
    if ((verb == "add" && names.empty()) || (verb == "remove" && names.size() != 1) ||
        (verb == "clear" && !names.empty()) || (verb != "add" && verb != "remove" && verb != "clear"))
        throw CUsageError{usage};
    const auto home = ctx.Home();
    if (!home) return kExitFailed;
    CCollections coll(ctx.Ports(), *home);
    const auto row = LoadRecord(coll, ctx.Prompt(), pos[0], pos[1]);
    if (!row) return kExitFailed;
    CCollectionStore& store = coll.Store();
    std::optional<std::string> result;
    if (verb == "add") {
        result = store.AddGroupsToRecord(*row, names);
    } else if (verb == "remove") {
        if (!CCollectionStore::FindGroup(store.Records()[*row].groups, names[0])) {
            ctx.Prompt().Message("Can not find group:\r\n" + names[0]);
            return kExitFailed;
        }
        result = store.RemoveGroupFromRecord(*row, names[0]);
    } else if (store.SetGroupMarker(*row, "") == ERecordWrite::Written) {
        result = std::string();
    }
    if (!result) return kExitFailed;
    PrintLine(*result);
    return kExitOk;
}

int RunFavorite(CCliContext& ctx, const std::vector<std::string>& raw) {
    const char* usage = "favorite takes add DIR LOCATION | delete LOCATION...";
    const auto pos = CArgs(raw).Positionals();
    if (pos.empty()) throw CUsageError{usage};
    const bool add = pos[0] == "add";
    if ((add && pos.size() != 3) || (!add && (pos[0] != "delete" || pos.size() < 2))) throw CUsageError{usage};
    const auto home = ctx.Home();
    if (!home) return kExitFailed;
    CCollections coll(ctx.Ports(), *home);
    if (add) {
        const auto row = LoadRecord(coll, ctx.Prompt(), pos[1], pos[2]);
        if (!row) return kExitFailed;
        // A location that is a favorite already is left as it is.
        if (coll.AddToFavorites(*row) || coll.IsFavorite(coll.Store().Records()[*row].location)) return kExitOk;
        return kExitFailed;
    }
    const std::vector<std::string> locations(pos.begin() + 1, pos.end());
    if (!coll.FavoritesExist()) {
        ctx.Prompt().Message("Favorites is empty.");
        return kExitFailed;
    }
    if (coll.DeleteFavoritesByLocation(locations, false)) return kExitOk;
    std::string all;
    for (const auto& l : locations) all += "\r\n" + l;
    ctx.Prompt().Message("Can not find file:" + all);
    return kExitFailed;
}

const CCliRegistrar regRefresh("refresh", "refresh DIR [--ext LIST] [--name NAME] [--description TEXT]", RunRefresh);
const CCliRegistrar regList("list", "list DIR\nlist --favorites", RunList);
const CCliRegistrar regCatalogue("catalogue", "catalogue", RunCatalogue);
const CCliRegistrar regDescribe("describe", "describe DIR LOCATION TEXT", RunDescribe);
const CCliRegistrar regGroup("group",
                             "group DIR LOCATION add NAME...\ngroup DIR LOCATION remove NAME\ngroup DIR LOCATION clear",
                             RunGroup);
const CCliRegistrar regFavorite("favorite", "favorite add DIR LOCATION\nfavorite delete LOCATION...", RunFavorite);

} // namespace

bool LoadStored(CCollections& coll, CPrompt& prompt, const std::string* dir) {
    CCollectionStore& store = coll.Store();
    if (dir) {
        store.SetBaseDirectory(*dir);
        store.SetCollectionFilePath(store.GetCollectionFilePath(*dir));
    } else {
        store.SetCollectionFilePath(coll.FavoritesPath());
        store.SetFavoritesView(true);
    }
    store.LoadCollection();
    if (!store.IsAbsent()) return true;
    if (dir)
        prompt.Message(
            Format("Collection\r\n%s\r\nis absent now.\r\nPlease choose anoter.", store.CollectionFilePath().c_str()));
    else
        prompt.Message("Favorites is empty.");
    return false;
}
