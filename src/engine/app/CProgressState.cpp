#include "app/CProgressState.h"

#include "app/TextUtil.h"

#include <algorithm>
#include <cmath>

void CProgressState::SetRange(double total) {
    m_range = total > 0 ? total : 0;
    m_pos = m_prev = m_shown = 0;
    m_creeping = false;
}

void CProgressState::SetPos(double value) {
    m_textMode = false;
    Update(value);
}

void CProgressState::SetPosText(double value, std::string_view text) {
    m_textMode = true;
    m_text.assign(text);
    Update(value);
}

void CProgressState::Update(double value) {
    m_pos = value > 0 ? value : 0;
    if (!m_creeping) {
        m_shown = m_pos;
    } else if (m_range > 0) {
        // Each report covers a part of the distance still left, so a guessed total is never reached.
        const double step = std::min(m_pos - m_prev, m_range / 2);
        m_shown = step * (m_range - m_shown) / m_range + m_shown;
        m_shown = std::clamp(m_shown, 0.0, m_range);
    }
    m_prev = m_pos;
}

double CProgressState::Fraction() const {
    if (m_range <= 0) return m_shown > 0 || m_pos > 0 ? 1.0 : 0.0;
    return std::clamp(m_shown / m_range, 0.0, 1.0);
}

std::string CProgressState::Label() const {
    if (m_textMode) return m_text;
    if (m_creeping) return Format("%g", m_pos);
    return Format("%.0f", std::floor(m_pos));
}

std::string FormatElapsed(long long elapsedMs) {
    const long long s = std::max(0LL, elapsedMs / 1000);
    return Format("%dh:%dm:%ds", int(s / 3600), int(s / 60 % 60), int(s % 60));
}
