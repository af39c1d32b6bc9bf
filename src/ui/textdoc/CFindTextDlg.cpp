#include "textdoc/CFindTextDlg.h"

#include "QtConvert.h"
#include "app/Ports.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

CFindTextDlg::CFindTextDlg(CPrompt& prompt, const QString& word, const std::vector<std::string>& list, QWidget* parent)
    : QDialog(parent), m_prompt(prompt), m_listMode(!list.empty()), m_edit(new QLineEdit(this)),
      m_list(new QComboBox(this)), m_matchCase(new QCheckBox(QStringLiteral("Match case"), this)),
      m_wholeWord(new QCheckBox(QStringLiteral("Match whole word only"), this)) {
    setWindowTitle(QStringLiteral("Find F3"));
    setObjectName(QStringLiteral("dialog1017"));
    auto* label = new QLabel(QStringLiteral("Word for searching:"), this);
    m_edit->setObjectName(QStringLiteral("edit10005"));
    m_list->setObjectName(QStringLiteral("combo10011"));
    m_matchCase->setObjectName(QStringLiteral("check10007"));
    m_wholeWord->setObjectName(QStringLiteral("check10013"));
    m_edit->setAccessibleName(label->text());
    m_list->setAccessibleName(label->text());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CFindTextDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CFindTextDlg::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    // The edit box and the list share one place; the mode shows one of them.
    grid->addWidget(m_edit, 1, 0);
    grid->addWidget(m_list, 1, 0);
    grid->addWidget(m_matchCase, 2, 0);
    grid->addWidget(m_wholeWord, 3, 0);
    grid->addWidget(buttons, 0, 1, 4, 1, Qt::AlignTop);
    label->setBuddy(m_listMode ? static_cast<QWidget*>(m_list) : m_edit);

    if (m_listMode) {
        m_edit->hide();
        for (const std::string& w : list) m_list->addItem(ToQ(w));
        m_list->setCurrentIndex(0);
        m_list->setFocus();
    } else {
        m_list->hide();
        m_edit->setText(word);
        m_edit->selectAll();
        m_edit->setFocus();
    }
}

bool CFindTextDlg::MatchCase() const { return m_matchCase->isChecked(); }
bool CFindTextDlg::WholeWord() const { return m_wholeWord->isChecked(); }

void CFindTextDlg::accept() {
    const QString word = m_listMode ? m_list->currentText() : m_edit->text();
    if (word.isEmpty()) {
        m_prompt.Message(m_listMode ? "Choose word for searching, please." : "Insert word for searching, please.");
        return;
    }
    m_result = word;
    QDialog::accept();
}
