#include "restools/CResourceView.h"

#include <algorithm>

void CMemoryResourceView::ReloadTextBlack(std::string_view text) {
    m_text.assign(text);
    m_colored.clear();
    m_selStart = m_selEnd = 0;
}

void CMemoryResourceView::SetRangeColor(std::size_t start, std::size_t end, std::uint32_t color) {
    start = std::min(start, m_text.size());
    end = std::clamp(end, start, m_text.size());
    m_colored.push_back({start, end, color});
    m_selStart = start;
    m_selEnd = end;
}

void CMemoryResourceView::SelectRange(std::size_t start, std::size_t end) {
    m_selStart = std::min(start, m_text.size());
    m_selEnd = std::clamp(end, m_selStart, m_text.size());
}
