#include "filetools/CReadOnlyWarningDlg.h"

#include "filetools/FileToolWidgets.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

CReadOnlyWarningDlg::CReadOnlyWarningDlg(std::string_view text, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("WARNING"));
    textLabel = new QLabel(ToQMessage(text), this);
    textLabel->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    forAllBox = new QCheckBox(QStringLiteral("Make for all files"), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(textLabel);
    layout->addWidget(forAllBox);
    layout->addWidget(buttons);
    setAccessibleDescription(textLabel->text());
}

CReadOnlyWarning::CAnswer CQtReadOnlyWarning::Ask(std::string_view text) {
    CReadOnlyWarningDlg dlg(text, m_parent.data());
    const bool ok = dlg.exec() == QDialog::Accepted;
    return {ok, ok && dlg.forAllBox->isChecked()};
}
