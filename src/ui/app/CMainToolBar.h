#pragma once

#include "CTipWnd.h"

#include <QToolBar>

#include <functional>
#include <string>

class QToolButton;

// The main toolbar. Over its second button (Refresh collection) it shows an information tip
// about the collection a refresh would open, just below the button; moving to another button,
// leaving the toolbar or pressing a mouse button takes the tip down.
class CMainToolBar : public QToolBar {
    Q_OBJECT
public:
    CMainToolBar(const QString& title, QWidget* mainWindow, QWidget* parent);

    // Where the information text for the tip comes from.
    void SetInformationSource(std::function<std::string()> source) { m_information = std::move(source); }
    CTipWnd& Tip() { return m_tip; }
    // What the toolbar does when the pointer is over button index (-1: over no button).
    void OnPointerOver(int index);

protected:
    void actionEvent(QActionEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int ButtonIndex(QObject* button) const;

    CTipWnd m_tip;
    std::function<std::string()> m_information;
    int m_tipIndex = -1;
};
