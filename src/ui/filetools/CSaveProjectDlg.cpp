#include "filetools/CSaveProjectDlg.h"

#include "filetools/CProjectSaveAs.h"
#include "filetools/FileToolWidgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

CSaveProjectDlg::CSaveProjectDlg(CProjectSaveAs& saveAs, bool any, QWidget* parent)
    : QDialog(parent), m_saveAs(saveAs) {
    setWindowTitle(any ? QStringLiteral("Save as Any project") : QStringLiteral("Save as VS project"));
    setObjectName(QStringLiteral("saveProjectDlg"));
    sourceEdit = new QLineEdit(ToQPath(saveAs.LastOldFile()), this);
    targetEdit = new QLineEdit(ToQPath(saveAs.LastNewFile()), this);
    sourceBrowse = Button("Browe...", this);
    targetBrowse = Button("Browe...", this);
    okButton = Button("OK", this);
    okButton->setDefault(true);
    cancelButton = Button("Cancel", this);

    auto* layout = new QVBoxLayout(this);
    auto* source = new QGroupBox(QStringLiteral("Sourse source project info:"), this);
    auto* sourceLayout = new QGridLayout(source);
    sourceLayout->addWidget(NamingLabel("Project file name", sourceEdit, source), 0, 0, 1, 2);
    sourceLayout->addWidget(sourceEdit, 1, 0);
    sourceLayout->addWidget(sourceBrowse, 1, 1);
    layout->addWidget(source);
    auto* target = new QGroupBox(QStringLiteral("Save project as:"), this);
    auto* targetLayout = new QGridLayout(target);
    targetLayout->addWidget(NamingLabel("A new project file name:", targetEdit, target), 0, 0, 1, 2);
    targetLayout->addWidget(targetEdit, 1, 0);
    targetLayout->addWidget(targetBrowse, 1, 1);
    layout->addWidget(target);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    layout->addLayout(buttons);
    // Two buttons share the text "Browe...": the name says which field each fills.
    sourceBrowse->setAccessibleName(QStringLiteral("Browe... project file name"));
    targetBrowse->setAccessibleName(QStringLiteral("Browe... new project file name"));
    ChainTabOrder({sourceEdit, sourceBrowse, targetEdit, targetBrowse, okButton, cancelButton});
    resize(480, sizeHint().height());

    connect(sourceEdit, &QLineEdit::textChanged, this, &CSaveProjectDlg::UpdateOk);
    connect(targetEdit, &QLineEdit::textChanged, this, &CSaveProjectDlg::UpdateOk);
    connect(sourceBrowse, &QPushButton::clicked, this, [this] {
        const std::string chosen = m_saveAs.BrowseSource();
        if (!chosen.empty()) sourceEdit->setText(ToQPath(chosen));
    });
    connect(targetBrowse, &QPushButton::clicked, this, [this] {
        const std::string chosen = m_saveAs.BrowseTarget();
        if (!chosen.empty()) targetEdit->setText(ToQPath(chosen));
    });
    connect(okButton, &QPushButton::clicked, this, &CSaveProjectDlg::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    UpdateOk();
    sourceEdit->setFocus();
}

QString CSaveProjectDlg::OldFile() const { return sourceEdit->text(); }
QString CSaveProjectDlg::NewFile() const { return targetEdit->text(); }

void CSaveProjectDlg::UpdateOk() {
    okButton->setEnabled(CProjectSaveAs::IsOkEnabled(FromQPath(OldFile()).string(), FromQPath(NewFile()).string()));
}

void CSaveProjectDlg::accept() {
    if (!okButton->isEnabled()) return; // Enter in a box while a name is missing
    if (m_saveAs.Accept(FromQPath(OldFile()).string(), FromQPath(NewFile()).string())) QDialog::accept();
}
