#include "textdoc/CReplaceTextDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CReplaceTextDlg::CReplaceTextDlg(QWidget* parent)
    : QDialog(parent), m_find(new QLineEdit(this)), m_replace(new QLineEdit(this)),
      m_wholeWord(new QCheckBox(QStringLiteral("Match &whole word only"), this)),
      m_matchCase(new QCheckBox(QStringLiteral("Match &case"), this)),
      m_findNext(new QPushButton(QStringLiteral("&Find Next"), this)),
      m_replaceOne(new QPushButton(QStringLiteral("&Replace"), this)),
      m_replaceAll(new QPushButton(QStringLiteral("Replace &All"), this)) {
    setWindowTitle(QStringLiteral("Replace"));
    setObjectName(QStringLiteral("replaceDialog"));
    auto* findLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    auto* replaceLabel = new QLabel(QStringLiteral("Re&place with:"), this);
    findLabel->setBuddy(m_find);
    replaceLabel->setBuddy(m_replace);
    m_find->setAccessibleName(QStringLiteral("Find what"));
    m_replace->setAccessibleName(QStringLiteral("Replace with"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_findNext->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(m_find, 0, 1);
    grid->addWidget(replaceLabel, 1, 0);
    grid->addWidget(m_replace, 1, 1);
    grid->addWidget(m_wholeWord, 2, 0, 1, 2);
    grid->addWidget(m_matchCase, 3, 0, 1, 2);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {m_findNext, m_replaceOne, m_replaceAll, cancel}) buttons->addWidget(b);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, 4, 1);

    connect(m_findNext, &QPushButton::clicked, this, &CReplaceTextDlg::FindNext);
    connect(m_replaceOne, &QPushButton::clicked, this, &CReplaceTextDlg::ReplaceOne);
    connect(m_replaceAll, &QPushButton::clicked, this, &CReplaceTextDlg::ReplaceAll);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_find, &QLineEdit::textChanged, this, &CReplaceTextDlg::UpdateButtons);
    UpdateButtons();
}

void CReplaceTextDlg::SetWord(const QString& word) {
    m_find->setText(word);
    m_find->selectAll();
    m_find->setFocus();
}

QString CReplaceTextDlg::Word() const { return m_find->text(); }
QString CReplaceTextDlg::Replacement() const { return m_replace->text(); }
bool CReplaceTextDlg::MatchCase() const { return m_matchCase->isChecked(); }
bool CReplaceTextDlg::WholeWord() const { return m_wholeWord->isChecked(); }

void CReplaceTextDlg::UpdateButtons() {
    const bool any = !m_find->text().isEmpty();
    for (QPushButton* b : {m_findNext, m_replaceOne, m_replaceAll}) b->setEnabled(any);
}
