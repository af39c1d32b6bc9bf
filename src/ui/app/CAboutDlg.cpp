#include "app/CAboutDlg.h"

#include "QtConvert.h"
#include "app/Resources.h"

#include "QuillboxVersion.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    InitQuillboxResources();
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("About tav"));
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/quillbox.png")).pixmap(32, 32));
    auto* text = new QLabel(ToQMessage("Quillbox\r\nVersion " QUILLBOX_VERSION), this);
    text->setObjectName(QStringLiteral("aboutText"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addSpacing(12);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(260, 100)));
}
