#include "TableBasics.h"

#include "QtConvert.h"

#include <QFontInfo>

#include <algorithm>
#include <cstdlib>

QFont MakeQFont(const CLogFont& font) {
    QFont f(ToQ(font.faceName));
    if (font.height != 0) f.setPixelSize(std::abs(font.height));
    if (font.weight > 0) f.setWeight(QFont::Weight(std::clamp(font.weight, 1, 1000)));
    f.setItalic((font.italic & 0xFF) != 0);
    return f;
}

CLogFont FromQFont(const QFont& font) {
    CLogFont lf;
    lf.height = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    lf.weight = font.weight();
    lf.italic = font.italic() ? 1 : 0;
    lf.faceName = FromQ(font.family());
    return lf;
}
