#include "textdoc/CKeywordComboBox.h"

#include <QLineEdit>

CKeywordComboBox::CKeywordComboBox(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("keywordCombo"));
    setAccessibleName(QStringLiteral("Keywords"));
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(6);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { m_typed = true; });
}
