#include "app/CQtBusy.h"

#include <QApplication>
#include <QCursor>

#include <algorithm>

CQtBusy::CQtBusy(QWidget* frame, std::function<QWidget*()> collectionWindow,
                 std::function<void(std::string_view)> statusText)
    : m_frame(frame), m_collectionWindow(std::move(collectionWindow)), m_statusText(std::move(statusText)) {}

CQtBusy::~CQtBusy() {
    while (m_waitDepth > 0) SetWaitCursor(false);
}

void CQtBusy::SetWaitCursor(bool on) {
    if (on) {
        if (m_waitDepth++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_waitDepth > 0 && --m_waitDepth == 0) {
        QApplication::restoreOverrideCursor();
    }
}

void CQtBusy::EnableFrame(bool on) {
    m_frameDisabled = on ? std::max(0, m_frameDisabled - 1) : m_frameDisabled + 1;
    if (m_frame) m_frame->setEnabled(m_frameDisabled == 0);
}

void CQtBusy::EnableCollectionWindow(bool on) {
    m_windowDisabled = on ? std::max(0, m_windowDisabled - 1) : m_windowDisabled + 1;
    if (QWidget* w = m_collectionWindow ? m_collectionWindow() : nullptr) w->setEnabled(m_windowDisabled == 0);
}

void CQtBusy::SetStatusText(std::string_view text) {
    if (m_statusText) m_statusText(text);
}
