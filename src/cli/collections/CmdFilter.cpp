#include "CliContext.h"

#include "app/TextUtil.h"
#include "collections/CCollectionStore.h"
#include "collections/ColumnSearch.h"

#include <cstdio>

namespace {

int RunFilter(CCliContext& ctx, const std::vector<std::string>& raw) {
    CArgs args(raw);
    const auto files = args.TakeOption("--files");
    const auto description = args.TakeOption("--description");
    const auto group = args.TakeOption("--group");
    const auto pos = args.Positionals();
    if (pos.size() != 1) throw CUsageError{"filter takes one DIR"};
    if (int(files.has_value()) + int(description.has_value()) + int(group.has_value()) != 1)
        throw CUsageError{"filter takes one of --files, --description, --group"};
    const auto home = ctx.Home();
    if (!home) return kExitFailed;

    const std::string dir = AbsoluteArgument(pos[0]).string();
    CCollectionStore store(ctx.Prompt(), *home);
    store.SetBaseDirectory(dir);
    store.SetCollectionFilePath(store.GetCollectionFilePath(dir));
    store.LoadCollection();
    if (store.IsAbsent()) {
        ctx.Prompt().Message(
            Format("Collection\r\n%s\r\nis absent now.\r\nPlease choose anoter.", store.CollectionFilePath().c_str()));
        return kExitFailed;
    }

    CColumnSearchOutcome out;
    bool matchAll = false;
    if (files) {
        out = SearchFilesColumn(store.Records(), dir, false, false, *files);
        matchAll = IsMatchAllPattern(MakeFilePattern(*files));
    } else if (description) {
        out = SearchDescriptionColumn(store.Records(), *description);
    } else {
        out = SearchGroupColumn(store.Records(), *group);
    }
    if (out.result == EColumnSearchResult::ShowFoundList) store.ShowFoundList(out.found);
    // The window's tip; the rows shown stay as they were.
    if (out.result == EColumnSearchResult::NotFound) std::fputs("Not found\n", stderr);

    for (std::size_t row = 0; row < store.RowCount(); ++row)
        std::printf("%s\n", store.Records()[*store.RecordOfRow(row)].location.c_str());
    const bool shown = out.result == EColumnSearchResult::ShowFoundList ||
                       out.result == EColumnSearchResult::ShowWholeList || matchAll;
    return shown && store.RowCount() > 0 ? kExitOk : kExitFailed;
}

const CCliRegistrar reg("filter", "filter DIR (--files TEXT | --description TEXT | --group TEXT)", RunFilter);

} // namespace
