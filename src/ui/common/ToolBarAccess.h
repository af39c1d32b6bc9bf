#pragma once

#include <QToolBar>
#include <QToolButton>

// The button a tool bar shows when its buttons do not fit is Qt's own and has no name; a screen
// reader would announce an unnamed check box.
inline void NameToolBarExtension(QToolBar& bar) {
    for (QToolButton* b : bar.findChildren<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        b->setAccessibleName(QStringLiteral("More buttons"));
}
