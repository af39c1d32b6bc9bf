#include "filetools/CExtensionToolDlg.h"

#include "filetools/CExtensionTool.h"
#include "filetools/FileToolWidgets.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>

CExtensionToolDlg::CExtensionToolDlg(CExtensionTool& tool, const std::string& startText, QWidget* parent)
    : QDialog(parent), m_tool(tool) {
    setWindowTitle(QStringLiteral("Extension tool"));
    setObjectName(QStringLiteral("extensionToolDlg"));
    extensionEdit = new QLineEdit(ToQ(startText), this);
    infoText = new QPlainTextEdit(this);
    infoText->setReadOnly(true);
    infoText->setMinimumHeight(90);
    newLinkButton = Button("New link", this);
    newLinkButton->setDefault(true); // the dialog's OK: Enter in the box runs it once
    removeButton = Button("Remove", this);
    cancelButton = Button("Cancel", this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NamingLabel("File extension for checking:", extensionEdit, this));
    layout->addWidget(extensionEdit);
    layout->addWidget(NamingLabel("Associated information:", infoText, this));
    layout->addWidget(infoText, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(newLinkButton);
    buttons->addWidget(removeButton);
    buttons->addStretch(1);
    buttons->addWidget(cancelButton);
    layout->addLayout(buttons);
    ChainTabOrder({extensionEdit, infoText, newLinkButton, removeButton, cancelButton});
    resize(420, 260);

    connect(extensionEdit, &QLineEdit::textChanged, this, &CExtensionToolDlg::OnTextChanged);
    connect(newLinkButton, &QPushButton::clicked, this, &CExtensionToolDlg::OnNewLink);
    connect(removeButton, &QPushButton::clicked, this, &CExtensionToolDlg::OnRemove);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    removeButton->setEnabled(false);
    QTimer::singleShot(0, this, &CExtensionToolDlg::OnFirstTick);
}

void CExtensionToolDlg::OnFirstTick() {
    if (m_started) return;
    m_started = true;
    extensionEdit->setFocus();
    extensionEdit->selectAll();
    m_tool.Open(FromQ(extensionEdit->text()));
    ShowState();
}

void CExtensionToolDlg::OnTextChanged() {
    if (!m_started) return; // the first tick looks the start text up
    m_tool.SetText(FromQ(extensionEdit->text()));
    ShowState();
}

void CExtensionToolDlg::OnNewLink() {
    m_tool.NewLink();
    ShowState();
}

void CExtensionToolDlg::OnRemove() {
    m_tool.Remove();
    ShowState();
}

void CExtensionToolDlg::ShowState() {
    infoText->setPlainText(ToQMessage(m_tool.Info()));
    removeButton->setEnabled(m_tool.RemoveEnabled());
}
