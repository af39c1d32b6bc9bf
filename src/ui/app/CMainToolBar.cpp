#include "app/CMainToolBar.h"

#include "collections/MainFrameCollections.h"

#include <QActionEvent>
#include <QToolButton>

namespace {
constexpr int kRefreshButton = 1;
}

CMainToolBar::CMainToolBar(const QString& title, QWidget* mainWindow, QWidget* parent)
    : QToolBar(title, parent), m_tip(mainWindow, this) {}

void CMainToolBar::actionEvent(QActionEvent* event) {
    QToolBar::actionEvent(event);
    if (event->type() != QEvent::ActionAdded) return;
    if (QWidget* button = widgetForAction(event->action())) {
        button->setMouseTracking(true);
        button->installEventFilter(this);
    }
}

int CMainToolBar::ButtonIndex(QObject* button) const {
    const auto list = actions();
    for (int i = 0; i < list.size(); ++i)
        if (widgetForAction(list[i]) == button) return i;
    return -1;
}

bool CMainToolBar::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::MouseMove: OnPointerOver(ButtonIndex(watched)); break;
    case QEvent::Leave:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: OnPointerOver(-1); break;
    case QEvent::ToolTip:
        // The information tip already names the button.
        if (ButtonIndex(watched) == kRefreshButton) return true;
        break;
    default: break;
    }
    return QToolBar::eventFilter(watched, event);
}

void CMainToolBar::OnPointerOver(int index) {
    if (index != kRefreshButton || actions().size() < 2) {
        m_tipIndex = -1;
        if (m_tip.IsShown()) m_tip.HideTip();
        return;
    }
    if (m_tipIndex == index && m_tip.IsShown()) return;
    QWidget* button = widgetForAction(actions()[index]);
    if (!button) return;
    m_tipIndex = index;
    const QPoint topLeft = button->mapToGlobal(QPoint(0, 0));
    m_tip.HideTip();
    m_tip.SetTipText(RefreshButtonTipText(m_information ? m_information() : std::string()));
    // Below the button, so the tip never covers what the pointer is on.
    m_tip.SetPlacement(CRect{topLeft.x(), topLeft.y() + button->height(), topLeft.x() + button->width(), 0});
    m_tip.ShowFor(this, nullptr, false);
}
