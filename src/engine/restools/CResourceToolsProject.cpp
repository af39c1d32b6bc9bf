// The identifier search over the sources of a project, with the keyword filters.
#include "restools/CResourceTools.h"

#include "app/FileAccess.h"
#include "app/TextUtil.h"
#include "collections/CParseExt.h"
#include "restools/CNameMatcher.h"
#include "restools/CResourceView.h"
#include "restools/ConditionalBlocks.h"
#include "restools/ResourceText.h"

#include <limits>

bool CResourceTools::OnFindInProject() {
    if (!CanFindInProject()) return false;
    RefreshText();
    CProjectSearchOptions options = LoadProjectSearchOptions(m_ports.settings, m_view.DocumentPath());
    if (!m_dialogs.RunProjectSearchDialog(options)) return false;
    m_keyword = options.keyword;
    m_negative = options.negative;

    m_view.SetWaitCursor(true);
    m_filter = std::make_unique<CParseExt>();
    // Without extensions the filter would let every file through although the question counts
    // none; the parse has already said what is wrong.
    if (!m_filter->ParsingExtensionToken(m_ports.prompt, options.extensions)) {
        m_view.SetWaitCursor(false);
        return false;
    }
    const std::string list = m_filter->GetExtensionList();
    const std::size_t count =
        m_filter->CountMatchingFiles(m_ports.prompt, options.folder, std::numeric_limits<std::size_t>::max());
    const std::string question = Format(
        "Will searching in %lu files of project\r\n for extention \"%s\"\r\n\r\nWould you like to go process now?",
        static_cast<unsigned long>(count), list.c_str());
    if (!m_ports.prompt.AskYesNo(question)) {
        m_view.SetWaitCursor(false);
        return false;
    }

    BuildIdentifierList(m_text, m_ids, m_marks);
    m_marksAreIdentifiers = true;
    OpenProgressIfWorthIt(count, double(count));
    m_rcMode = false;
    m_matcher = std::make_unique<CNameMatcher>(m_ids.names);
    unsigned long done = 0;
    if (!m_ids.names.empty()) WalkProjectFiles(options.folder, done);
    m_progress.reset();
    m_ports.prompt.Message(Format("Was search in %lu files of project", done));

    ApplyIdentifierMarks();
    m_view.SetModified(false);
    m_view.SetWaitCursor(false);
    return true;
}

void CResourceTools::ScanProjectFile(const std::string& path) {
    // The loaded header itself never counts. The same file, not the same spelling: on Linux
    // resource.h and Resource.h beside it are two headers.
    std::error_code ec;
    const auto document = m_view.DocumentPath();
    if (std::filesystem::equivalent(path, document, ec) || path == document.string()) return;

    const auto data = ReadResourceText(m_ports.prompt, path);
    if (!data || data->empty()) return;
    std::string text = RemoveComments(*data);
    if (!m_keyword.empty())
        text = m_negative ? ApplyNegativeFilter(text, m_keyword) : ApplyPositiveFilter(text, m_keyword);
    if (text.empty()) {
        if (m_progress) m_progress->KeepAlive(300, false);
        return;
    }
    const auto tick = [this](std::size_t) { m_progress->KeepAlive(300, false); };
    m_matcher->Count(text, m_ids.found, m_progress ? 9999 : 0, tick);
}
