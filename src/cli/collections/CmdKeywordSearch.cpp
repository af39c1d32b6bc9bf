#include "CliContext.h"

#include "app/FileAccess.h"
#include "app/SettingsKeys.h"
#include "collections/CCollectionCommands.h"

#include <cstdio>

namespace {

int RunSearch(CCliContext& ctx, const std::vector<std::string>& raw) {
    CArgs args(raw);
    const bool noCase = args.TakeFlag("--nocase");
    const bool favorites = args.TakeFlag("--favorites");
    const auto pos = args.Positionals();
    if (pos.size() != (favorites ? 1u : 2u)) throw CUsageError{"search takes DIR (or --favorites) and KEYWORDS"};
    const std::string keywords = pos.back();
    const auto home = ctx.Home();
    if (!home) return kExitFailed;
    CPrompt& prompt = ctx.Prompt();
    if (!CheckKeywordText(prompt, keywords)) return kExitFailed;

    CCollections collections(ctx.Ports(), *home);
    CCollectionCommands commands(collections, ctx.Ports());
    commands.Hooks().keywordSearchDialog = [&](CKeywordDialogValues& v) {
        v = {keywords, noCase};
        return true;
    };
    CSettings& settings = ctx.Settings();
    CRefreshOptions load;
    if (favorites) {
        if (!collections.FavoritesExist()) {
            prompt.Message("Favorites is empty.");
            return kExitFailed;
        }
        settings.Set(kWasFavorite, 1);
    } else {
        const std::string dir = AbsoluteArgument(pos[0]).string();
        if (!IsDirectory(dir)) {
            prompt.Message("This Directory is absent or has not access.\r\nPlease choose anoter.");
            return kExitFailed;
        }
        settings.Set(kMainDir, dir);
        settings.Set(kWasFavorite, 0);
        // As the refresh command: a collection met for the first time is created without a question.
        if (!IsExistingFile(collections.Store().GetCollectionFilePath(dir), false)) {
            load.noQuestion = true;
            load.quietCreation = true;
        }
    }

    if (!commands.KeywordSearch(load)) return kExitFailed;
    const CCollectionStore& store = collections.Store();
    if (!store.IsShowingFoundList()) return kExitFailed; // "Found nothing." was shown
    for (const std::size_t i : store.FoundList()) std::printf("%s\n", store.Records()[i].location.c_str());
    return kExitOk;
}

const CCliRegistrar reg("search", "search DIR KEYWORDS [--nocase]\nsearch --favorites KEYWORDS [--nocase]", RunSearch);

} // namespace
