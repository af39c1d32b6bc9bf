#include "restools/CResourceDlgs.h"

#include "QtConvert.h"
#include "app/Ports.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QDialogButtonBox* OkCancel(QDialog* dlg) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dlg);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dlg, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dlg, &QDialog::reject);
    return buttons;
}

QCheckBox* Check(const char* text, const char* name, QWidget* parent) {
    auto* box = new QCheckBox(QString::fromLatin1(text), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(box->text());
    return box;
}

} // namespace

CRcOptionsDlg::CRcOptionsDlg(CSettings& settings, bool withAllText, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_withAllText(withAllText),
      m_strings(Check("String Table", "check10007", this)), m_dialogs(Check("Dialogs", "check10013", this)),
      m_menus(Check("Menu", "check1002", this)), m_allText(Check("All text of RC file", "check1005", this)) {
    setWindowTitle(QStringLiteral("Options of rc-file checking"));
    setObjectName(QStringLiteral("dialog130"));
    const CRcOptions options = LoadRcOptions(settings);
    m_strings->setChecked(options.groups.strings);
    m_dialogs->setChecked(options.groups.dialogs);
    m_menus->setChecked(options.groups.menus);
    m_allText->setChecked(options.allText);
    m_allText->setVisible(withAllText);

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_strings, 0, 0);
    grid->addWidget(m_dialogs, 1, 0);
    grid->addWidget(m_menus, 2, 0);
    grid->addWidget(m_allText, 3, 0);
    grid->addWidget(OkCancel(this), 0, 1, 4, 1, Qt::AlignTop);
}

void CRcOptionsDlg::accept() {
    CRcOptions options;
    options.groups.strings = m_strings->isChecked();
    options.groups.dialogs = m_dialogs->isChecked();
    options.groups.menus = m_menus->isChecked();
    options.allText = m_allText->isChecked();
    SaveRcOptions(m_settings, options, m_withAllText);
    QDialog::accept();
}

CProjectSearchDlg::CProjectSearchDlg(CPrompt& prompt, CSettings& settings, CPickers& pickers,
                                     CProjectSearchOptions& options, QWidget* parent)
    : QDialog(parent), m_prompt(prompt), m_settings(settings), m_pickers(pickers), m_options(options),
      m_path(new QLineEdit(ToQ(options.folder), this)), m_keyword(new QLineEdit(ToQ(options.keyword), this)),
      m_negative(Check("Negative result", "check10007", this)),
      m_extensions(new QLineEdit(ToQ(options.extensions), this)) {
    setWindowTitle(QStringLiteral("Path of project for searching"));
    setObjectName(QStringLiteral("dialog131"));
    m_negative->setChecked(options.negative);
    m_path->setObjectName(QStringLiteral("edit10005"));
    m_keyword->setObjectName(QStringLiteral("edit10033"));
    m_extensions->setObjectName(QStringLiteral("edit1004"));
    auto* browse = new QPushButton(QStringLiteral(". . ."), this);
    browse->setObjectName(QStringLiteral("button1002"));
    browse->setAccessibleName(QStringLiteral("Choose the project folder"));
    connect(browse, &QPushButton::clicked, this, &CProjectSearchDlg::OnBrowse);

    auto* grid = new QGridLayout(this);
    int row = 0;
    const auto labelled = [&](const char* text, QLineEdit* edit, QWidget* beside) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->setBuddy(edit);
        edit->setAccessibleName(label->text());
        grid->addWidget(label, row++, 0, 1, 2);
        grid->addWidget(edit, row, 0, 1, beside ? 1 : 2);
        if (beside) grid->addWidget(beside, row, 1);
        ++row;
    };
    labelled("Path of project for searching", m_path, browse);
    labelled("Set iluding keyword (from #define KEYWORD)", m_keyword, nullptr);
    grid->addWidget(m_negative, row++, 0, 1, 2);
    labelled("File extentions for searching", m_extensions, nullptr);
    grid->addWidget(OkCancel(this), 0, 2, row, 1, Qt::AlignTop);
    m_path->setMinimumWidth(320);
}

void CProjectSearchDlg::OnBrowse() {
    const std::string current = FromQ(m_path->text());
    m_path->setText(ToQ(m_pickers.BrowseForDirectory("Default: " + current, current)));
}

void CProjectSearchDlg::accept() {
    CProjectSearchOptions typed = m_options;
    typed.folder = FromQ(m_path->text());
    typed.keyword = FromQ(m_keyword->text());
    typed.extensions = FromQ(m_extensions->text());
    typed.negative = m_negative->isChecked();
    if (!AcceptProjectSearchOptions(m_prompt, m_settings, typed)) return;
    m_options = typed;
    QDialog::accept();
}

bool CQtResourceDialogs::RunRcOptionsDialog(bool withAllText) {
    CRcOptionsDlg dlg(m_settings, withAllText, m_parent);
    return dlg.exec() == QDialog::Accepted;
}

bool CQtResourceDialogs::RunProjectSearchDialog(CProjectSearchOptions& options) {
    CProjectSearchDlg dlg(m_prompt, m_settings, m_pickers, options, m_parent);
    return dlg.exec() == QDialog::Accepted;
}
