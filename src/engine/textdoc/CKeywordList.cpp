#include "textdoc/TextFind.h"

#include "app/SettingsKeys.h"
#include "app/TextUtil.h"

#include <algorithm>

void CKeywordList::Add(std::string_view word) {
    if (word.empty()) return;
    if (!m_words.empty() && EqualsNoCase(m_words.front(), word)) return;
    const auto same =
        std::find_if(m_words.begin(), m_words.end(), [word](const std::string& w) { return EqualsNoCase(w, word); });
    if (same != m_words.end()) m_words.erase(same);
    m_words.insert(m_words.begin(), std::string(word));
    if (m_words.size() > kMaxWords) m_words.resize(kMaxWords);
}

void CKeywordList::Load(const CSettings& settings) {
    m_words.clear();
    const int count = std::min<int>(settings.Get(kComboListCount), int(kMaxWords));
    for (int i = 0; i < count; ++i) {
        std::string w = settings.Get(kComboListWords[std::size_t(i)]);
        if (w.empty()) continue;
        const bool dup =
            std::any_of(m_words.begin(), m_words.end(), [&w](const std::string& x) { return EqualsNoCase(x, w); });
        if (!dup) m_words.push_back(std::move(w));
    }
}

void CKeywordList::Save(CSettings& settings) const {
    for (std::size_t i = 0; i < m_words.size(); ++i) settings.Set(kComboListWords[i], m_words[i]);
    settings.Set(kComboListCount, int(m_words.size()));
}
