#include "app/CMdiClientWnd.h"

#include "app/Resources.h"

#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QSvgRenderer>

namespace {
constexpr int kTileSize = 96;
}

CMdiClientWnd::CMdiClientWnd(QWidget* parent) : QMdiArea(parent) {
    InitQuillboxResources();
    setObjectName(QStringLiteral("mdiClient"));
    setAccessibleName(QStringLiteral("Documents"));
    UpdateBackground();
}

QBrush CMdiClientWnd::BackgroundFor(int depth, const QPalette& palette) {
    const QBrush workspace = palette.brush(QPalette::Dark);
    if (depth < 8) return workspace;
    QSvgRenderer svg(QStringLiteral(":/background.svg"));
    if (!svg.isValid()) return workspace;
    QPixmap tile(kTileSize, kTileSize);
    tile.fill(Qt::transparent);
    QPainter p(&tile);
    svg.render(&p);
    p.end();
    return QBrush(tile);
}

void CMdiClientWnd::UpdateBackground() {
    const QScreen* s = screen();
    setBackground(BackgroundFor(s ? s->depth() : 32, palette()));
}

void CMdiClientWnd::showEvent(QShowEvent* event) {
    UpdateBackground(); // the window may have come up on another screen
    QMdiArea::showEvent(event);
}
