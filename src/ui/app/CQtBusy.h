#pragma once

#include "app/Ports.h"

#include <QPointer>
#include <QWidget>

#include <functional>

// The busy state of a long operation on the Qt windows: the wait cursor, the frame and the
// collection window disabled, status text in the frame's message pane. Calls may nest; the
// outermost end restores.
class CQtBusy : public CBusy {
public:
    CQtBusy(QWidget* frame, std::function<QWidget*()> collectionWindow,
            std::function<void(std::string_view)> statusText);
    ~CQtBusy() override;

    void SetWaitCursor(bool on) override;
    void EnableFrame(bool on) override;
    void EnableCollectionWindow(bool on) override;
    void SetStatusText(std::string_view text) override;

private:
    QPointer<QWidget> m_frame;
    std::function<QWidget*()> m_collectionWindow;
    std::function<void(std::string_view)> m_statusText;
    int m_waitDepth = 0;
    int m_frameDisabled = 0;
    int m_windowDisabled = 0;
};
