#include "CTableDropButton.h"

#include "CDataTable.h"
#include "TableBasics.h"

#include <QMouseEvent>
#include <QPainter>

CTableDropButton::CTableDropButton(CDataTable& table, QWidget* host) : QWidget(host), m_table(table) {
    setObjectName(QStringLiteral("tableDropButton"));
    setFocusPolicy(Qt::NoFocus);
}

void CTableDropButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect box = rect();
    p.fillRect(box, palette().color(QPalette::Button));
    p.setPen(Qt::white);
    p.drawLine(box.topLeft(), box.topRight());
    p.drawLine(box.topLeft(), box.bottomLeft());
    p.setPen(ToQColor(0x808080));
    p.drawLine(box.bottomLeft(), box.bottomRight());
    p.drawLine(box.topRight(), box.bottomRight());
    const int ax = box.left() - 1 + (box.width() - 9) / 2, ay = box.top() + (box.height() - 5) / 2;
    for (int i = 0; i < 5; ++i) p.fillRect(QRect(ax + i + 1, ay + i, 9 - 2 * i, 1), Qt::black);
}

void CTableDropButton::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) m_table.EndDropList(false);
}
