#include "restools/ResToolsCli.h"

#include "app/FileAccess.h"
#include "app/TextUtil.h"
#include "restools/ResourceText.h"

#include <cstdio>

bool CArgumentDialogs::RunProjectSearchDialog(CProjectSearchOptions& options) {
    if (folder) options.folder = *folder;
    if (extensions) options.extensions = *extensions;
    else
        options.extensions = kDefaultProjectExtensions;
    options.keyword = keyword;
    options.negative = negative;
    return AcceptProjectSearchOptions(m_prompt, m_settings, options);
}

CCliResourceSession::CCliResourceSession(CCliContext& ctx)
    : m_ctx(ctx), m_dialogs(ctx.Prompt(), ctx.Settings()), m_ports{ctx.Ports().prompt, ctx.Ports().settings,
                                                                   ctx.Ports().progress, m_pickers, ctx.Ports().busy} {}

bool CCliResourceSession::Load(const std::filesystem::path& path, EViewKind needed) {
    m_path = path;
    CPrompt& prompt = m_ctx.Prompt();
    if (IsExcludedExtension(path.filename().string())) {
        prompt.Message("It's not a textual file.");
        return false;
    }
    auto text = ReadWholeFile(prompt, path);
    if (!text) {
        prompt.Message("Can not to open file.");
        return false;
    }
    m_utf16.reset();
    if (StartsWithUtf16Bom(*text)) {
        std::u16string shown;
        m_utf16 = CTextEncoding::Decode(*text, shown);
        *text = m_utf16->EngineText(*text);
    } else if (IsBinaryContent(*text)) {
        prompt.Message("It's not a textual file.");
        return false;
    }
    const bool rtf = StartsWithNoCase(*text, "{\\rtf");
    m_view = std::make_unique<CMemoryResourceView>(path, std::move(*text));
    m_tools = std::make_unique<CResourceTools>(*m_view, m_dialogs, m_ports);
    m_tools->SetKind(rtf ? EViewKind::Rtf : EViewKind::Text);
    if (!rtf) m_tools->DetectKind();
    if (m_tools->Kind() != needed) {
        prompt.Message(
            needed == EViewKind::ResourceHeader
                ? Format("%s is not a resource header (a .h file with \"define\").", path.c_str())
                : Format("%s is not an RC script (a .rc file with APSTUDIO_READONLY_SYMBOLS).", path.c_str()));
        return false;
    }
    return true;
}

CRcGroups ParseGroupsArgument(const std::optional<std::string>& groups) {
    if (!groups) return {true, true, true};
    CRcGroups g;
    std::string_view rest = *groups;
    const CUsageError bad{"--groups takes a comma-separated subset of str,dlg,menu"};
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        const std::string_view word = TrimBlanks(rest.substr(0, comma));
        if (word == "str") g.strings = true;
        else if (word == "dlg")
            g.dialogs = true;
        else if (word == "menu")
            g.menus = true;
        else
            throw bad;
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    if (!g.Any()) throw bad;
    return g;
}

void CCliResourceSession::SetRcOptions(const CRcGroups& groups, bool allText) {
    SaveRcOptions(m_ctx.Settings(), CRcOptions{groups, allText}, true);
}

bool CCliResourceSession::Save() {
    return WriteWholeFile(m_ctx.Prompt(), m_path, FileBytes(m_view->Text()), m_ctx.Yes());
}

std::size_t CCliResourceSession::FileOffset(std::size_t engineOffset) const {
    return m_utf16 ? m_utf16->FileOffsetOfEngineOffset(engineOffset) : engineOffset;
}

std::string CCliResourceSession::FileBytes(std::string_view engineText) const {
    if (!m_utf16) return std::string(engineText);
    // The engine's text is UTF-8; its characters and line ends go back into UTF-16.
    std::u16string shown;
    CTextEncoding::Decode(engineText, shown);
    return *m_utf16->Encode(shown);
}

void WriteToStdout(std::string_view data) {
    std::fwrite(data.data(), 1, data.size(), stdout);
    std::fflush(stdout);
}
