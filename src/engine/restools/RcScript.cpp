#include "restools/RcScript.h"

#include "app/TextUtil.h"
#include "restools/ResourceModel.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<std::string_view, 10> kControlWords{"PUSHBUTTON", "LTEXT",   "EDITTEXT", "RTEXT", "CONTROL",
                                                         "GROUPBOX",   "LISTBOX", "COMBOBOX", "ICON",  "BITMAP"};

class CRcCursor {
public:
    explicit CRcCursor(std::string_view text) : m_text(text) {}

    bool At(std::size_t p, std::string_view word) const { return MatchWord(m_text, p, word, false); }
    std::size_t Size() const { return m_text.size(); }
    char Byte(std::size_t p) const { return p < m_text.size() ? m_text[p] : '\0'; }

    static bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == ',' || c == '"' || c == '\r' || c == '\n'; }
    static bool EndsToken(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ','; }
    std::size_t SkipSeparators(std::size_t p) const {
        while (p < m_text.size() && IsSeparator(m_text[p])) ++p;
        return p;
    }
    std::size_t SkipBlanksAndLineEnds(std::size_t p) const {
        while (p < m_text.size() && (m_text[p] == ' ' || m_text[p] == '\t' || m_text[p] == '\r' || m_text[p] == '\n'))
            ++p;
        return p;
    }
    std::size_t TokenEnd(std::size_t p) const {
        while (p < m_text.size() && !EndsToken(m_text[p])) ++p;
        return p;
    }
    // From just after an opening quote to the closing quote; a doubled quote belongs to the text
    // and a line end cuts it short.
    std::size_t QuotedEnd(std::size_t p) const {
        while (p < m_text.size()) {
            const char c = m_text[p];
            if (c == '\r' || c == '\n') break;
            if (c == '"') {
                if (Byte(p + 1) != '"') break;
                ++p;
            }
            ++p;
        }
        return p;
    }
    std::string_view Slice(std::size_t from, std::size_t to) const { return m_text.substr(from, to - from); }

    // "DISCARDABLE" after the keyword, perhaps after "PRELOAD".
    bool HasDiscardableHeader(std::size_t p) const {
        p = SkipBlanksAndLineEnds(p);
        if (At(p, "PRELOAD")) p = SkipBlanksAndLineEnds(p + 7);
        return At(p, "DISCARDABLE");
    }

    // The first token of the line holding p: the dialog's or menu's name.
    std::pair<std::string_view, std::size_t> LineName(std::size_t p) const {
        std::size_t s = LineStart(p);
        while (s < m_text.size() && (m_text[s] == ' ' || m_text[s] == '\t' || m_text[s] == ',' || m_text[s] == '"'))
            ++s;
        const std::size_t e = TokenEnd(s);
        return {Slice(s, e), e};
    }

    // The position after "BEGIN", passing over the given header words; Size() when missing.
    std::size_t SkipToBegin(std::size_t p, std::initializer_list<std::string_view> passOver) const {
        while (p < m_text.size()) {
            if (At(p, "BEGIN")) return p + 5;
            bool passed = false;
            for (const std::string_view w : passOver) {
                if (At(p, w)) {
                    p += w.size();
                    passed = true;
                    break;
                }
            }
            if (!passed) ++p;
        }
        return m_text.size();
    }

    // Caption and id of a control or menu item; p is just after its keyword and separators.
    void ReadCaptionAndId(std::size_t p, CRcEntry& entry) const {
        std::size_t captionStart = std::string_view::npos;
        if (p > 0 && p <= m_text.size() && m_text[p - 1] == '"') {
            captionStart = p;
            const std::size_t e = QuotedEnd(p);
            entry.caption.assign(Slice(p, e));
            p = e;
        }
        p = SkipSeparators(p);
        const std::size_t idEnd = TokenEnd(p);
        entry.id.assign(Slice(p, idEnd));
        entry.start = entry.caption.empty() ? p : captionStart;
        entry.end = idEnd;
    }

private:
    // Where the line holding p starts. The walk asks for rising positions, so the answer goes on
    // from the last one: scanning back to the line start each time made one long line quadratic.
    std::size_t LineStart(std::size_t p) const {
        p = std::min(p, m_text.size());
        if (p < m_scanned) return FindLineStart(m_text, p);
        for (; m_scanned < p; ++m_scanned)
            if (m_text[m_scanned] == '\r' || m_text[m_scanned] == '\n') m_lineStart = m_scanned + 1;
        return m_lineStart;
    }

    std::string_view m_text;
    mutable std::size_t m_scanned = 0;   // bytes before this were looked at
    mutable std::size_t m_lineStart = 0; // start of the line holding m_scanned
};

std::size_t ParseDialog(const CRcCursor& rc, std::size_t keyword, std::size_t keywordLength, CRcBlock& block) {
    const auto [name, nameEnd] = rc.LineName(keyword);
    block.name.assign(name);
    block.nameEnd = nameEnd;
    std::size_t p = rc.SkipToBegin(keyword + keywordLength, {"DISCARDABLE", "DIALOGEX"});
    int statics = 0;
    while (p < rc.Size()) {
        if (rc.At(p, "END")) {
            block.endStart = p;
            block.endAfter = p + 3;
            return block.endAfter;
        }
        std::size_t wordLength = 0;
        for (const std::string_view w : kControlWords) {
            if (rc.At(p, w)) {
                wordLength = w.size();
                break;
            }
        }
        if (wordLength == 0) {
            ++p;
            continue;
        }
        // The scan goes on over the caption and the id, so an id ending in END (IDC_SEND,)
        // closes the control list, as it always has.
        p = rc.SkipSeparators(p + wordLength);
        CRcEntry entry;
        rc.ReadCaptionAndId(p, entry);
        if (entry.id.empty()) continue; // the text ended
        if (entry.id == "IDC_STATIC") entry.id = Format("%s_add_%d", entry.id.c_str(), statics++);
        block.entries.push_back(std::move(entry));
    }
    block.endStart = block.endAfter = rc.Size();
    return rc.Size();
}

std::size_t ParseMenu(const CRcCursor& rc, std::size_t keyword, CRcBlock& block) {
    const auto [name, nameEnd] = rc.LineName(keyword);
    block.name.assign(name);
    block.nameEnd = nameEnd;
    std::size_t p = rc.SkipToBegin(keyword + 4, {"DISCARDABLE"});
    int depth = 1;
    while (p < rc.Size()) {
        if (rc.At(p, "MENUITEM")) {
            p = rc.SkipSeparators(p + 8);
            if (rc.At(p, "SEPARATOR")) {
                p += 9;
                continue;
            }
            CRcEntry entry;
            rc.ReadCaptionAndId(p, entry);
            if (entry.id.empty()) continue;
            entry.id += block.name;
            block.entries.push_back(std::move(entry));
        } else if (rc.At(p, "END")) {
            p += 3;
            if (--depth == 0) {
                block.endStart = p - 3;
                block.endAfter = p;
                return p;
            }
        } else if (rc.At(p, "POPUP")) {
            p += 5;
            CRcEntry entry;
            entry.id = "POPUP";
            entry.start = p;
            std::size_t s = p;
            while (s < rc.Size() && (rc.Byte(s) == ' ' || rc.Byte(s) == '\t')) ++s;
            if (rc.Byte(s) == '"') ++s;
            p = rc.TokenEnd(s);
            entry.caption.assign(rc.Slice(s, p));
            entry.end = p;
            block.entries.push_back(std::move(entry));
        } else if (rc.At(p, "BEGIN")) {
            p += 5;
            ++depth;
        } else {
            ++p;
        }
    }
    block.endStart = block.endAfter = rc.Size();
    return rc.Size();
}

std::size_t ParseStringTable(const CRcCursor& rc, std::size_t keyword, std::vector<CRcEntry>& entries) {
    std::size_t p = rc.SkipToBegin(keyword + 11, {});
    for (;;) {
        p = rc.SkipSeparators(p);
        if (p >= rc.Size()) return rc.Size();
        if (rc.At(p, "END")) return p + 3;
        CRcEntry entry;
        entry.start = p;
        p = rc.TokenEnd(p);
        entry.id.assign(rc.Slice(entry.start, p));
        entry.end = p;
        std::size_t q = p;
        while (q < rc.Size() && CRcCursor::EndsToken(rc.Byte(q))) ++q;
        if (rc.Byte(q) == '"') {
            const std::size_t e = rc.QuotedEnd(q + 1);
            entry.caption.assign(rc.Slice(q + 1, e));
            entry.end = e;
            p = rc.Byte(e) == '"' ? e + 1 : e;
        }
        entries.push_back(std::move(entry));
    }
}

} // namespace

void WalkRcBlocks(std::string_view text, const CRcGroups& groups, const CRcBlockSink& sink) {
    const CRcCursor rc(text);
    std::size_t p = 0;
    while (p < text.size()) {
        if (groups.dialogs && rc.At(p, "DIALOG")) {
            if (!rc.HasDiscardableHeader(p + 6)) {
                p += 6;
                continue;
            }
            CRcBlock block;
            p = ParseDialog(rc, p, 6, block);
            if (sink.dialog) sink.dialog(std::move(block));
        } else if (groups.dialogs && rc.At(p, "DIALOGEX")) {
            CRcBlock block;
            p = ParseDialog(rc, p, 8, block);
            if (sink.dialog) sink.dialog(std::move(block));
        } else if (groups.strings && rc.At(p, "STRINGTABLE")) {
            if (!rc.HasDiscardableHeader(p + 11)) {
                p += 11;
                continue;
            }
            std::vector<CRcEntry> entries;
            p = ParseStringTable(rc, p, entries);
            if (sink.strings) sink.strings(std::move(entries));
        } else if (groups.menus && rc.At(p, "MENU")) {
            if (!rc.HasDiscardableHeader(p + 4)) {
                p += 4;
                continue;
            }
            CRcBlock block;
            p = ParseMenu(rc, p, block);
            if (sink.menu) sink.menu(std::move(block));
        } else {
            ++p;
        }
    }
}

CRcLists ParseRcLists(std::string_view text, const CRcGroups& groups) {
    CRcLists lists;
    CRcBlockSink sink;
    sink.dialog = [&](CRcBlock&& b) { lists.dialogs.push_back(std::move(b)); };
    sink.menu = [&](CRcBlock&& b) { lists.menus.push_back(std::move(b)); };
    sink.strings = [&](std::vector<CRcEntry>&& e) {
        for (auto& s : e) lists.strings.push_back(std::move(s));
    };
    WalkRcBlocks(text, groups, sink);
    return lists;
}
