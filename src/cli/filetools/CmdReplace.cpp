#include "CliContext.h"

#include "collections/CCollections.h"
#include "filetools/CReplaceInFiles.h"

#include <cstdio>

namespace {

// "Make for all files" is what --yes means; without it a read-only file is skipped.
class CCliReadOnlyWarning : public CReadOnlyWarning {
public:
    explicit CCliReadOnlyWarning(CCliPrompt& prompt, bool yes) : m_prompt(prompt), m_yes(yes) {}
    CAnswer Ask(std::string_view text) override {
        m_prompt.Ask(text, "WARNING", EPromptButtons::OkCancel, EPromptIcon::Warning, 0);
        return {m_yes, m_yes};
    }

private:
    CCliPrompt& m_prompt;
    bool m_yes;
};

int RunReplace(CCliContext& ctx, const std::vector<std::string>& raw) {
    CArgs args(raw);
    const bool favorites = args.TakeFlag("--favorites");
    const bool clean = args.TakeFlag("--clean");
    const auto ext = args.TakeOption("--ext");
    const auto from = args.TakeOption("--from");
    const auto to = args.TakeOption("--to");
    const auto alsoFrom = args.TakeOption("--also-from");
    const auto alsoTo = args.TakeOption("--also-to");
    const auto pos = args.Positionals();
    if (pos.size() != (favorites ? 0u : 1u)) throw CUsageError{"replace takes one DIR or --favorites"};
    if (clean == (from.has_value() || to.has_value())) throw CUsageError{"replace needs --from and --to, or --clean"};
    if (!clean && (!from || !to)) throw CUsageError{"replace needs both --from and --to"};
    if (clean && (alsoFrom || alsoTo)) throw CUsageError{"--clean takes no additional words"};
    if (alsoFrom.has_value() != alsoTo.has_value()) throw CUsageError{"--also-from and --also-to go together"};
    if (!clean && from->empty()) throw CUsageError{"--from needs a text (--clean cleans)"};

    std::optional<CCollections> collections;
    CReplaceScope scope;
    scope.favorites = favorites;
    if (favorites) {
        const auto home = ctx.Home();
        if (!home) return kExitFailed;
        collections.emplace(ctx.Ports(), *home);
        scope.collections = &*collections;
    } else {
        scope.baseDirectory = AbsoluteArgument(pos[0]).string();
    }
    CCliReadOnlyWarning warning(ctx.Prompt(), ctx.Yes());
    CReplaceInFiles replace(ctx.Ports(), warning, scope);
    CReplaceInFiles::CTexts texts = replace.InitialTexts();
    texts.extensions = ext.value_or("*.*");
    texts.from = from.value_or("");
    texts.to = to.value_or("");
    texts.alsoFrom = alsoFrom.value_or("");
    texts.alsoTo = alsoTo.value_or("");
    const CReplaceInFiles::EOk result = replace.OnOk(texts);
    return result == CReplaceInFiles::EOk::Ran && !replace.Stopped() && replace.Failed() == 0 ? kExitOk : kExitFailed;
}

const CCliRegistrar
    reg("replace",
        "replace (DIR | --favorites) [--ext LIST] --from TEXT --to TEXT [--also-from TEXT --also-to TEXT]\n"
        "replace (DIR | --favorites) [--ext LIST] --clean",
        RunReplace);

} // namespace
