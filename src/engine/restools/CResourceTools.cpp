#include "restools/CResourceTools.h"

#include "collections/CParseExt.h"
#include "restools/CNameMatcher.h"
#include "restools/CResourceView.h"
#include "restools/ResourceHeader.h"

#include <algorithm>

CResourceTools::CResourceTools(CResourceView& view, CResourceDialogs& dialogs, CPorts& ports)
    : m_view(view), m_dialogs(dialogs), m_ports(ports) {}

CResourceTools::~CResourceTools() = default;

void CResourceTools::DetectKind() {
    m_text = m_view.WorkingText();
    m_kind = DetectResourceKind(m_view.DocumentPath().string(), m_text, m_kind);
}

// While collapsed the view shows only the marked lines; a command that takes the text from the
// view first brings the full text back, so it never works on (or replaces the document with)
// the collapsed extract.
void CResourceTools::RefreshText() {
    if (m_marks.collapsed) {
        m_view.ReloadTextBlack(m_text);
        ColorRanges();
        m_view.SetModified(m_modifiedAtCollapse);
        m_marks.collapsed = false;
    }
    m_text = m_view.WorkingText();
}

void CResourceTools::ColorRanges() {
    m_marks.hasRed = false;
    for (std::size_t i = 0; i < m_marks.Count(); ++i) {
        const std::uint8_t mark = m_marks.marks[i];
        if (mark == kMarkRed) m_marks.hasRed = true;
        m_view.SetRangeColor(m_marks.ranges[i].start, m_marks.ranges[i].end, MarkColor(mark));
    }
}

void CResourceTools::ApplyIdentifierMarks() {
    m_view.ReloadTextBlack(m_text);
    m_marks.hasRed = false;
    for (std::size_t i = 0; i < m_ids.names.size() && i < m_marks.Count(); ++i) {
        if (m_ids.found[i] != 0) continue;
        m_marks.marks[i] = kMarkRed;
        m_view.SetRangeColor(m_marks.ranges[i].start, m_marks.ranges[i].end, kColorRed);
        m_marks.hasRed = true;
    }
}

std::vector<std::string> CResourceTools::RedIdentifiers() const {
    std::vector<std::string> red;
    if (!m_marksAreIdentifiers) return red;
    for (std::size_t i = 0; i < m_ids.names.size() && i < m_marks.Count(); ++i)
        if (m_marks.marks[i] == kMarkRed) red.push_back(m_ids.names[i]);
    return red;
}

void CResourceTools::OnTextEdited() {
    if (m_marks.collapsed) return;
    m_marks.Clear();
    m_marksAreIdentifiers = false;
}

bool CResourceTools::OnCorrectResourceFile() {
    if (!CanCorrect()) return false;
    RefreshText();
    m_view.SetWaitCursor(true);
    m_text = CorrectResourceHeader(m_text);
    m_view.ReloadTextBlack(m_text);
    // The old ranges describe the text before the rewrite; keeping them would let "Exlude ..."
    // cut lines of the new text.
    m_marks.Clear();
    m_marksAreIdentifiers = false;
    m_view.SetModified(true);
    m_ports.prompt.Ask(kCorrectedHeaderMessage, {}, EPromptButtons::Ok, EPromptIcon::Information);
    m_view.SetWaitCursor(false);
    return true;
}

bool CResourceTools::OnGoToNextMark() {
    if (!CanGoToNext()) return false;
    if (m_marks.nextIndex >= m_marks.Count()) m_marks.nextIndex = 0;
    const CMarkRange r = m_marks.ranges[m_marks.nextIndex];
    m_view.SelectRange(r.start, r.end);
    m_marks.nextIndex = (m_marks.nextIndex + 1) % m_marks.Count();
    return true;
}

bool CResourceTools::OnCollapseColors() {
    if (!CanCollapse()) return false;
    m_collapsed.clear();
    m_modifiedAtCollapse = m_view.IsModified();
    const std::string_view br = LineBreakOf(m_text);
    std::vector<std::pair<CMarkRange, std::uint8_t>> shown;
    for (std::size_t i = 0; i < m_marks.Count(); ++i) {
        if (m_marks.marks[i] == kMarkNone) continue;
        const std::size_t lineStart = FindLineStart(m_text, m_marks.ranges[i].start);
        const std::size_t lineEnd = FindLineEnd(m_text, lineStart);
        const std::size_t at = m_collapsed.size();
        m_collapsed.append(m_text, lineStart, lineEnd - lineStart).append(br);
        shown.push_back({{at, m_collapsed.size()}, m_marks.marks[i]});
    }
    m_view.ReloadTextBlack(m_collapsed);
    m_marks.hasRed = false;
    for (const auto& [range, mark] : shown) {
        if (mark == kMarkRed) m_marks.hasRed = true;
        m_view.SetRangeColor(range.start, range.end, MarkColor(mark));
    }
    m_view.SelectRange(0, 0);
    m_view.SetModified(m_modifiedAtCollapse);
    m_marks.collapsed = true;
    return true;
}

bool CResourceTools::OnRestoreCollapsed() {
    if (!CanRestore()) return false;
    m_view.ReloadTextBlack(m_text);
    ColorRanges();
    m_marks.nextIndex = 0;
    m_view.SelectRange(m_marks.ranges[0].start, m_marks.ranges[0].end);
    m_view.SetModified(m_modifiedAtCollapse);
    m_marks.collapsed = false;
    return true;
}

bool CResourceTools::OnInvertRed() {
    if (!CanInvertRed()) return false;
    for (auto& mark : m_marks.marks) {
        if (mark == kMarkNone) mark = kMarkRed;
        else if (mark == kMarkRed)
            mark = kMarkNone;
    }
    m_view.ReloadTextBlack(m_text);
    ColorRanges();
    m_view.SetModified(true);
    return true;
}

bool CResourceTools::OnExcludeRed() {
    if (!CanExcludeRed()) return false;
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < m_marks.Count(); ++i)
        if (m_marks.marks[i] == kMarkRed) starts.push_back(m_marks.ranges[i].start);
    m_text = RemoveLinesHolding(m_text, std::move(starts));
    m_view.ReloadTextBlack(m_text);
    m_view.SelectRange(0, 0);
    m_view.SetModified(true);
    // The ranges describe the text before the removal: clearing them keeps a second run from
    // cutting other lines.
    m_marks.Clear();
    m_marksAreIdentifiers = false;
    return true;
}
