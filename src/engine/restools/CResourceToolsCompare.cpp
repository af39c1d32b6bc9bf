// The compare of the loaded RC script with a second one.
#include "restools/CResourceTools.h"

#include "app/FileAccess.h"
#include "restools/CResourceView.h"
#include "restools/ResourceText.h"

#include <algorithm>

namespace {

const CRcBlock* FindBlock(const std::vector<CRcBlock>& blocks, const std::string& name) {
    for (const auto& b : blocks)
        if (b.name == name) return &b;
    return nullptr;
}

const CRcEntry* FindEntry(const std::vector<CRcEntry>& entries, const std::string& id) {
    for (const auto& e : entries)
        if (e.id == id) return &e;
    return nullptr;
}

} // namespace

bool CResourceTools::OnCompareRc() {
    if (!CanCompare()) return false;
    RefreshText();
    const std::string otherPath = m_ports.pickers.OpenFile(
        "Open according RC-file", "Resource files (*.rc)|*.rc|All files|*.*|", m_view.DocumentPath());
    if (otherPath.empty()) return false;
    CRcGroups groups = LoadRcOptions(m_ports.settings).groups;
    // The options come back until a group is chosen; Cancel there ends the command.
    while (!groups.Any()) {
        if (!m_dialogs.RunRcOptionsDialog(false)) return false;
        groups = LoadRcOptions(m_ports.settings).groups;
    }
    const auto otherText = ReadResourceText(m_ports.prompt, otherPath);
    if (!otherText || otherText->size() < 16) {
        m_ports.prompt.Message("The second RC-file is empty.");
        return false;
    }

    const CRcLists other = ParseRcLists(*otherText, groups);
    CStringIndex strings; // the first string of each id decides
    for (const auto& s : other.strings) strings.try_emplace(s.id, &s);
    m_marks.Clear();
    m_marksAreIdentifiers = false;
    m_view.SetWaitCursor(true);
    CRcBlockSink sink;
    sink.dialog = [&](CRcBlock&& b) { CompareDialog(b, other); };
    sink.menu = [&](CRcBlock&& b) { CompareMenu(b, other); };
    sink.strings = [&](std::vector<CRcEntry>&& e) { CompareStrings(e, strings); };
    WalkRcBlocks(m_text, groups, sink);

    m_view.ReloadTextBlack(m_text);
    ColorRanges();
    m_view.SetModified(false);
    m_marks.nextIndex = 0;
    if (m_marks.Count() > 0) m_view.SelectRange(m_marks.ranges[0].start, m_marks.ranges[0].end);
    m_marks.collapsed = false;
    m_view.SetWaitCursor(false);
    return true;
}

void CResourceTools::CompareDialog(const CRcBlock& block, const CRcLists& other) {
    const CRcBlock* match = FindBlock(other.dialogs, block.name);
    if (!match) {
        m_marks.Add(block.nameEnd, std::max(block.nameEnd, block.endStart), kMarkRed);
        return;
    }
    for (const auto& entry : block.entries) {
        const CRcEntry* o = FindEntry(match->entries, entry.id);
        std::uint8_t mark = kMarkRed;
        if (o) mark = (!entry.caption.empty() && entry.caption == o->caption) ? kMarkBlue : kMarkNone;
        m_marks.Add(entry.start, entry.end, mark);
    }
}

void CResourceTools::CompareMenu(const CRcBlock& block, const CRcLists& other) {
    const CRcBlock* match = FindBlock(other.menus, block.name);
    if (!match) {
        m_marks.Add(block.nameEnd, std::max(block.nameEnd, block.endAfter), kMarkRed);
        return;
    }
    for (const auto& entry : block.entries) {
        std::uint8_t mark = kMarkNone;
        if (entry.id == "POPUP") {
            // A popup is never red: it is blue when the other menu has one with the same caption.
            const bool same = std::any_of(match->entries.begin(), match->entries.end(), [&](const CRcEntry& o) {
                return o.id == "POPUP" && o.caption == entry.caption;
            });
            mark = same ? kMarkBlue : kMarkNone;
        } else {
            const CRcEntry* o = FindEntry(match->entries, entry.id);
            mark = kMarkRed;
            if (o) mark = (!entry.caption.empty() && entry.caption == o->caption) ? kMarkBlue : kMarkNone;
        }
        m_marks.Add(entry.start, entry.end, mark);
    }
}

void CResourceTools::CompareStrings(const std::vector<CRcEntry>& entries, const CStringIndex& other) {
    for (const auto& entry : entries) {
        const auto it = other.find(entry.id);
        std::uint8_t mark = kMarkRed;
        if (it != other.end()) mark = entry.caption == it->second->caption ? kMarkBlue : kMarkNone;
        m_marks.Add(entry.start, entry.end, mark);
    }
}
