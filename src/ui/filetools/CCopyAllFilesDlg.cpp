#include "filetools/CCopyAllFilesDlg.h"

#include "filetools/FileToolWidgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

CCopyAllFilesDlg::CCopyAllFilesDlg(CCopyAllFiles& copy, CPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_copy(copy), m_prompt(prompt) {
    setWindowTitle(QStringLiteral("Copy all files"));
    setObjectName(QStringLiteral("copyAllFilesDlg"));
    sourceEdit = new QLineEdit(this);
    targetEdit = new QLineEdit(this);
    minimumEdit = new QLineEdit(this);
    // A whole number, as the size field takes nothing else.
    minimumEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]{0,18}")), minimumEdit));
    extensionEdit = new QLineEdit(this);
    sourceBrowse = Button("Browse", this);
    targetBrowse = Button("Browse", this);
    okButton = Button("OK", this);
    okButton->setDefault(true);
    cancelButton = Button("Cancel", this);

    auto* layout = new QGridLayout(this);
    int row = 0;
    layout->addWidget(NamingLabel("Copiing All files (recursive) from top dir to bottom dir", sourceEdit, this), row++,
                      0, 1, 2);
    layout->addWidget(sourceEdit, row, 0);
    layout->addWidget(sourceBrowse, row++, 1);
    auto* targetLabel = NamingLabel("If any file is existent: ", targetEdit, this);
    layout->addWidget(targetLabel, row++, 0, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("it's name will be extenting with additional symbol"), this), row++, 0,
                      1, 2);
    targetEdit->setAccessibleName(QStringLiteral("Target directory"));
    targetEdit->setAccessibleDescription(
        QStringLiteral("If any file is existent: it's name will be extenting with additional symbol"));
    layout->addWidget(targetEdit, row, 0);
    layout->addWidget(targetBrowse, row++, 1);
    layout->addWidget(new QLabel(QStringLiteral("You can to specif a min file size for coping:"), this), row++, 0, 1,
                      2);
    auto* minimumRow = new QHBoxLayout;
    minimumRow->addWidget(minimumEdit);
    minimumRow->addWidget(NamingLabel("Min. files size in bytes", minimumEdit, this));
    minimumRow->addStretch(1);
    layout->addLayout(minimumRow, row++, 0, 1, 2);
    layout->addWidget(NamingLabel("File extentions (*.doc, *.gif):", extensionEdit, this), row++, 0, 1, 2);
    layout->addWidget(extensionEdit, row++, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    layout->addLayout(buttons, row, 0, 1, 2);
    sourceEdit->setAccessibleName(QStringLiteral("Source directory"));
    sourceBrowse->setAccessibleName(QStringLiteral("Browse source directory"));
    targetBrowse->setAccessibleName(QStringLiteral("Browse target directory"));
    ChainTabOrder(
        {sourceEdit, sourceBrowse, targetEdit, targetBrowse, minimumEdit, extensionEdit, okButton, cancelButton});
    resize(460, sizeHint().height());

    connect(sourceBrowse, &QPushButton::clicked, this, [this] {
        const std::string chosen = m_copy.BrowseSource();
        if (!chosen.empty()) sourceEdit->setText(ToQPath(chosen));
    });
    connect(targetBrowse, &QPushButton::clicked, this, [this] {
        const std::string chosen = m_copy.BrowseTarget();
        if (!chosen.empty()) targetEdit->setText(ToQPath(chosen));
    });
    connect(okButton, &QPushButton::clicked, this, &CCopyAllFilesDlg::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    QTimer::singleShot(0, this, &CCopyAllFilesDlg::OnFirstTick);
}

void CCopyAllFilesDlg::OnFirstTick() {
    if (m_started) return;
    m_started = true;
    const CCopyAllFiles::CFields start = m_copy.StartFields();
    if (!start.source.empty()) sourceEdit->setText(ToQPath(start.source));
    if (!start.target.empty()) targetEdit->setText(ToQPath(start.target));
    minimumEdit->setText(QString::number(start.minimumSize));
    extensionEdit->setText(ToQ(start.extensions));
    sourceEdit->setFocus();
}

void CCopyAllFilesDlg::accept() {
    OnFirstTick(); // OK before the first tick sees the start values, not empty fields
    bool number = false;
    const long long minimum = minimumEdit->text().toLongLong(&number);
    if (!number) {
        // The size box holds no number (it was emptied): nothing is copied on a guess.
        m_prompt.Message("Please enter an integer.");
        minimumEdit->setFocus();
        minimumEdit->selectAll();
        return;
    }
    CCopyAllFiles::CFields fields{FromQPath(sourceEdit->text()).string(), FromQPath(targetEdit->text()).string(),
                                  minimum, FromQ(extensionEdit->text())};
    if (!m_copy.Accept(fields)) return;
    m_fields = fields;
    QDialog::accept();
}
