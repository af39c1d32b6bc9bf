#pragma once

#include "QtConvert.h"

#include <QLabel>
#include <QPushButton>
#include <QWidget>

// Small pieces the file tool dialogs share.

// A label naming its control: the control takes the label's text (without a trailing colon or
// blank) as its accessible name, and the label's mnemonic moves the focus there.
inline QLabel* NamingLabel(const char* text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setBuddy(buddy);
    QString name = QString::fromLatin1(text).trimmed();
    if (name.endsWith(QLatin1Char(':'))) name.chop(1);
    buddy->setAccessibleName(name);
    return label;
}

inline QPushButton* Button(const char* text, QWidget* parent) {
    auto* b = new QPushButton(QString::fromLatin1(text), parent);
    b->setAutoDefault(false);
    return b;
}

// Qt's tab order from the list, first to last.
inline void ChainTabOrder(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* w : widgets) {
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}
