// The identifier search in RC files, and the walk over the project files it shares with the
// project search.
#include "restools/CResourceTools.h"

#include "app/FileAccess.h"
#include "app/TextUtil.h"
#include "collections/CParseExt.h"
#include "collections/DirectoryWalk.h"
#include "restools/CNameMatcher.h"
#include "restools/CResourceView.h"
#include "restools/ResourceText.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::string_view kOpenRcTitle = "Open according RC-file";
constexpr std::string_view kSecondRcEmpty = "The second RC-file is empty.";

// True when some entry begins with name; entries is sorted.
bool AnyBeginsWith(const std::vector<std::string_view>& entries, std::string_view name) {
    const auto it = std::lower_bound(entries.begin(), entries.end(), name);
    return it != entries.end() && it->starts_with(name);
}

} // namespace

bool CResourceTools::OnRcOptions() {
    if (!CanRcOptions()) return false;
    return m_dialogs.RunRcOptionsDialog(false);
}

bool CResourceTools::OnFindInRcFile() {
    if (!CanFindInRcFile()) return false;
    RefreshText();
    if (!m_dialogs.RunRcOptionsDialog(true)) return false;
    return LoadRcOptions(m_ports.settings).allText ? SearchRcAllText() : SearchRcByGroups();
}

bool CResourceTools::SearchRcByGroups() {
    const std::string rcPath =
        m_ports.pickers.OpenFile(kOpenRcTitle, "Resource files (*.rc)|*.rc|All files|*.*|", m_view.DocumentPath());
    if (rcPath.empty()) return false;
    const CRcGroups groups = LoadRcOptions(m_ports.settings).groups;
    if (!groups.Any()) return false;
    const auto other = ReadResourceText(m_ports.prompt, rcPath);
    if (!other || other->size() < 16) {
        m_ports.prompt.Message(kSecondRcEmpty);
        return false;
    }

    m_view.SetWaitCursor(true);
    const CRcLists lists = ParseRcLists(*other, groups);
    BuildIdentifierList(m_text, m_ids, m_marks);
    m_marksAreIdentifiers = true;

    // An identifier counts when an entry of a chosen group begins with it.
    std::vector<std::string_view> entries;
    for (const auto& d : lists.dialogs) {
        entries.push_back(d.name);
        for (const auto& c : d.entries) entries.push_back(c.id);
    }
    for (const auto& s : lists.strings) entries.push_back(s.id);
    for (const auto& m : lists.menus) {
        entries.push_back(m.name);
        for (const auto& item : m.entries) entries.push_back(item.id);
    }
    std::sort(entries.begin(), entries.end());
    for (std::size_t i = 0; i < m_ids.names.size(); ++i) {
        const bool found = AnyBeginsWith(entries, m_ids.names[i]);
        m_ids.found[i] = found ? 1 : 0;
        m_marks.marks[i] = found ? kMarkNone : kMarkRed;
    }

    m_view.ReloadTextBlack(m_text);
    ColorRanges();
    m_view.SetModified(true);
    m_marks.nextIndex = 0;
    if (m_marks.Count() > 0) m_view.SelectRange(m_marks.ranges[0].start, m_marks.ranges[0].end);
    m_marks.collapsed = false;
    m_view.SetWaitCursor(false);
    return true;
}

void CResourceTools::OpenProgressIfWorthIt(std::size_t fileCount, double range) {
    m_progress.reset();
    if (fileCount > 1 && m_ids.names.size() * fileCount > 1000) {
        m_progress = m_ports.progress.OpenProgress();
        m_progress->SetRange(range);
        m_progress->KeepAlive(0, true);
    }
}

bool CResourceTools::SearchRcAllText() {
    m_view.SetWaitCursor(true);
    BuildIdentifierList(m_text, m_ids, m_marks);
    m_marksAreIdentifiers = true;

    m_filter = std::make_unique<CParseExt>();
    m_filter->ParsingExtensionToken(m_ports.prompt, ".rc");
    std::string folder = m_view.DocumentPath().parent_path().string();
    const std::size_t count =
        m_filter->CountMatchingFiles(m_ports.prompt, folder, std::numeric_limits<std::size_t>::max());
    if (count == 0) {
        m_ports.prompt.Message("Was not found any RC-file in current directory.");
        const std::string chosen =
            m_ports.pickers.OpenFile(kOpenRcTitle, "Resource files (*.rc)|*.rc|", m_view.DocumentPath());
        if (chosen.empty()) {
            // Nothing was searched: the marks of this run mean nothing.
            m_marks.Clear();
            m_marksAreIdentifiers = false;
            m_view.SetWaitCursor(false);
            return false;
        }
        folder = std::filesystem::path(chosen).parent_path().string();
    }

    OpenProgressIfWorthIt(count, double(count) * 100);
    m_percent = 0;
    m_rcMode = true;
    m_matcher = std::make_unique<CNameMatcher>(m_ids.names);
    unsigned long done = 0;
    if (!m_ids.names.empty()) WalkProjectFiles(folder, done);
    m_progress.reset();
    m_rcMode = false;

    ApplyIdentifierMarks();
    m_view.SetModified(false);
    m_view.SetWaitCursor(false);
    return true;
}

bool CResourceTools::WalkProjectFiles(const std::string& folder, unsigned long& counter) {
    CWalkCallbacks walk;
    const auto aborted = [this] { return m_progress && m_progress->IsAborted(); };
    walk.enterDirectory = [&](const std::string&) { return !aborted(); };
    walk.beforeFile = [&] { return !aborted(); };
    walk.file = [&](const CWalkFile& file) {
        if (!m_filter->IsMatch(file.name)) return true;
        const std::string name(file.name);
        if (m_progress) {
            if (m_rcMode)
                m_progress->SetPosText(double(counter) * 100 + double(m_percent),
                                       Format("%s: %lu%%", name.c_str(), m_percent));
            else
                m_progress->SetPosText(double(counter), Format("%s: %lu", name.c_str(), counter + 1));
        }
        const std::string path(file.path);
        if (m_rcMode) ScanRcFileForNames(path, name, counter);
        else
            ScanProjectFile(path);
        ++counter;
        return true;
    };
    return WalkDirectory(folder, walk) != EWalkResult::Stopped;
}

void CResourceTools::ScanRcFileForNames(const std::string& path, std::string_view name, unsigned long filesDone) {
    const auto data = ReadResourceText(m_ports.prompt, path);
    if (!data || data->empty()) return;
    const std::size_t size = data->size();
    const std::string label(name);
    const auto tick = [&](std::size_t distance) {
        m_percent = static_cast<unsigned long>(distance * 100 / size);
        m_progress->SetPosText(double(filesDone) * 100 + double(m_percent),
                               Format("%s %lu%%", label.c_str(), m_percent));
    };
    m_matcher->Count(*data, m_ids.found, m_progress ? 999 : 0, tick);
}
