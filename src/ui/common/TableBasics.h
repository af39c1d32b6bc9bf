#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

#include <cstdint>
#include <string>

// Colours keep the stored 0x00BBGGRR form: 0xFF0000 is blue, 0x800000 a dark blue.
using CColorRef = std::uint32_t;

inline QColor ToQColor(CColorRef c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }
inline CColorRef FromQColor(const QColor& c) {
    return CColorRef(c.red()) | (CColorRef(c.green()) << 8) | (CColorRef(c.blue()) << 16);
}
// Dark backgrounds get white lines and text.
inline bool IsDarkColor(CColorRef c) { return (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF) < 190; }

// A font as the settings store it. height is in pixels; negative means the character height,
// 0 means "use the default"; weight 400 is normal, 700 bold.
struct CLogFont {
    int height = 0;
    int width = 0;
    int weight = 0;
    int italic = 0;
    std::string faceName;

    bool operator==(const CLogFont&) const = default;
};

QFont MakeQFont(const CLogFont& font);
CLogFont FromQFont(const QFont& font);

// Edges as the geometry computes them: right and bottom lie just past the area.
struct CRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    QRect ToQRect() const { return QRect(left, top, right - left, bottom - top); }
    bool operator==(const CRect&) const = default;
};
