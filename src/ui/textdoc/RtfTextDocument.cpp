#include "textdoc/RtfTextDocument.h"

#include "textdoc/RtfReader.h"
#include "textdoc/RtfWriter.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>

namespace {

constexpr double kTwipsPerPixel = 15.0;

QString ToQ(std::u16string_view s) { return QString::fromUtf16(s.data(), qsizetype(s.size())); }
std::u16string FromQ(const QString& s) {
    return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), std::size_t(s.size()));
}
int Twips(double pixels) { return int(std::lround(pixels * kTwipsPerPixel)); }

QTextBlockFormat BlockFormat(const CRtfParagraph& p) {
    QTextBlockFormat f;
    switch (p.align) {
    case ERtfAlign::Left: f.setAlignment(Qt::AlignLeft); break;
    case ERtfAlign::Center: f.setAlignment(Qt::AlignHCenter); break;
    case ERtfAlign::Right: f.setAlignment(Qt::AlignRight); break;
    case ERtfAlign::Justify: f.setAlignment(Qt::AlignJustify); break;
    }
    f.setLeftMargin(p.leftIndent / kTwipsPerPixel);
    f.setRightMargin(p.rightIndent / kTwipsPerPixel);
    f.setTextIndent(p.firstIndent / kTwipsPerPixel);
    f.setTopMargin(p.spaceBefore / kTwipsPerPixel);
    f.setBottomMargin(p.spaceAfter / kTwipsPerPixel);
    return f;
}

QTextCharFormat CharFormat(const CRtfCharFormat& r) {
    QTextCharFormat f;
    if (!r.face.empty()) f.setFontFamilies({ToQ(r.face)});
    f.setFontPointSize(r.halfPoints / 2.0);
    f.setFontWeight(r.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(r.italic);
    f.setFontUnderline(r.underline);
    if (r.color) f.setForeground(QColor(QRgb(*r.color)));
    return f;
}

} // namespace

void FillTextDocument(QTextDocument& doc, const CRtfDocument& rtf) {
    doc.clear();
    // RTF's default tab stops, every half inch.
    QTextOption option = doc.defaultTextOption();
    option.setTabStopDistance(720 / kTwipsPerPixel);
    doc.setDefaultTextOption(option);
    QTextCursor c(&doc);
    c.beginEditBlock();
    bool first = true;
    for (const CRtfParagraph& p : rtf.paragraphs) {
        const QTextCharFormat blockChars = p.runs.empty() ? QTextCharFormat() : CharFormat(p.runs.front().format);
        if (first) {
            c.setBlockFormat(BlockFormat(p));
            c.setBlockCharFormat(blockChars);
        } else {
            c.insertBlock(BlockFormat(p), blockChars);
        }
        first = false;
        for (const CRtfRun& r : p.runs) c.insertText(ToQ(r.text), CharFormat(r.format));
    }
    c.endEditBlock();
}

CRtfDocument RtfOfTextDocument(const QTextDocument& doc) {
    const QFont base = doc.defaultFont();
    const std::u16string baseFace = FromQ(base.family());
    const int baseHalfPoints = base.pointSizeF() > 0 ? int(std::lround(base.pointSizeF() * 2)) : 24;
    CRtfDocument rtf;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        CRtfParagraph p;
        const QTextBlockFormat bf = b.blockFormat();
        const Qt::Alignment a = bf.alignment() & Qt::AlignHorizontal_Mask;
        p.align = a & Qt::AlignHCenter   ? ERtfAlign::Center
                  : a & Qt::AlignJustify ? ERtfAlign::Justify
                  : a & Qt::AlignRight   ? ERtfAlign::Right
                                         : ERtfAlign::Left;
        p.leftIndent = Twips(bf.leftMargin());
        p.rightIndent = Twips(bf.rightMargin());
        p.firstIndent = Twips(bf.textIndent());
        p.spaceBefore = Twips(bf.topMargin());
        p.spaceAfter = Twips(bf.bottomMargin());
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (!frag.isValid()) continue;
            const QTextCharFormat f = frag.charFormat();
            CRtfCharFormat r;
            const QStringList families = f.fontFamilies().toStringList();
            r.face = families.isEmpty() ? baseFace : FromQ(families.front());
            r.halfPoints = f.fontPointSize() > 0 ? int(std::lround(f.fontPointSize() * 2)) : baseHalfPoints;
            r.bold = f.fontWeight() >= QFont::DemiBold;
            r.italic = f.fontItalic();
            r.underline = f.fontUnderline();
            if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
                r.color = f.foreground().color().rgb() & 0xFFFFFFu;
            std::u16string text = FromQ(frag.text());
            std::erase(text, u'\uFFFC'); // an embedded object has no RTF of ours
            if (!p.runs.empty() && p.runs.back().format == r) p.runs.back().text += text;
            else
                p.runs.push_back({std::move(text), r});
        }
        rtf.paragraphs.push_back(std::move(p));
    }
    return rtf;
}

bool LoadRtfInto(QTextDocument& doc, std::string_view bytes) {
    const std::optional<CRtfDocument> rtf = ReadRtf(bytes);
    if (!rtf) return false;
    FillTextDocument(doc, *rtf);
    return true;
}

std::string SaveRtfOf(const QTextDocument& doc) { return WriteRtf(RtfOfTextDocument(doc)); }
