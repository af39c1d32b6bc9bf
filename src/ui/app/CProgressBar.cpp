#include "app/CProgressBar.h"

#include "QtConvert.h"

#include <QApplication>
#include <QFontInfo>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace {
// The geometry every drawing step shares: margin, inner width and a quarter of the height.
struct CBarGeometry {
    int margin, inner, unit;
    explicit CBarGeometry(QSize size)
        : margin(size.width() / 40), inner(size.width() - 2 * (size.width() / 40)), unit(size.height() / 4) {}
};
} // namespace

CProgressBar::CProgressBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("progressBar"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_clock.start();
    m_repaint.setInterval(200);
    connect(&m_repaint, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    m_repaint.start();
}

void CProgressBar::SetRange(double total) {
    m_state.SetRange(total);
    update();
}

void CProgressBar::SetPos(double value) {
    m_state.SetPos(value);
    update();
}

void CProgressBar::SetPosText(double value, std::string_view text) {
    m_state.SetPosText(value, text);
    update();
}

void CProgressBar::SetCreeping(bool on) {
    m_state.SetCreeping(on);
    update();
}

int CProgressBar::BandWidth() const {
    const CBarGeometry g(size());
    return std::clamp(int(std::lround(g.inner * m_state.Fraction())), 0, std::max(0, g.inner));
}

QRect CProgressBar::BandRect() const {
    const CBarGeometry g(size());
    return QRect(g.margin, g.unit / 3, BandWidth(), g.unit);
}

void CProgressBar::paintEvent(QPaintEvent*) {
    // Drawn into a pixmap first and copied in one step, so the bar never flickers.
    QPixmap buffer(size() * devicePixelRatioF());
    buffer.setDevicePixelRatio(devicePixelRatioF());
    QPainter p(&buffer);
    const CBarGeometry g(size());
    p.fillRect(rect(), palette().color(QPalette::Button));

    const QRect band = BandRect();
    if (band.width() > 0) p.fillRect(band, QColor(0, 0, 255));

    // Ruler: a base line, 50 minor ticks and a major tick with its number every tenth.
    const int rulerY = band.top() + g.unit + g.unit / 4;
    const int minor = std::max(2, g.unit / 6), major = std::max(4, g.unit / 3);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(g.margin, rulerY, g.margin + g.inner, rulerY);
    for (int i = 0; i <= 50; ++i) {
        const int x = g.margin + int(std::lround(double(g.inner) * i / 50));
        p.drawLine(x, rulerY, x, rulerY + (i % 5 == 0 ? major : minor));
    }
    const int textHeight = std::min(QFontInfo(QApplication::font()).pixelSize(), std::max(1, g.unit));
    QFont labelFont(QStringLiteral("Arial"));
    labelFont.setPixelSize(std::max(1, textHeight * 4 / 3));
    labelFont.setWeight(QFont::DemiBold);
    QFont textFont(QStringLiteral("Arial"));
    textFont.setPixelSize(std::max(1, textHeight));
    p.setFont(textFont);
    const int numbersTop = rulerY + major + 1;
    for (int i = 0; i <= 10; ++i) {
        const int x = g.margin + int(std::lround(double(g.inner) * i / 10));
        const QString n = QString::number(i * 10);
        const int w = p.fontMetrics().horizontalAdvance(n);
        const int left = std::clamp(x - w / 2, 0, std::max(0, width() - w));
        p.drawText(QRect(left, numbersTop, w, textHeight + 2), Qt::AlignCenter, n);
    }

    // The marker rides on the end of the band.
    const double radius = std::max(2.0, std::min(g.inner / 50.0, g.unit / 4.0));
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(255, 0, 0));
    p.setPen(QPen(Qt::black, 1));
    p.drawEllipse(QPointF(g.margin + band.width(), band.center().y() + 0.5), radius, radius);
    p.setRenderHint(QPainter::Antialiasing, false);

    p.setFont(labelFont);
    p.setPen(Qt::black);
    const QRect textRow(g.margin, height() - p.fontMetrics().height() - 2, g.inner, p.fontMetrics().height());
    p.drawText(textRow, Qt::AlignLeft | Qt::AlignVCenter, ToQ(FormatElapsed(ElapsedMs())));
    p.drawText(textRow, Qt::AlignRight | Qt::AlignVCenter, ToQ(m_state.Label()));
    p.end();

    QPainter(this).drawPixmap(0, 0, buffer);
}
