#include "filetools/CFileInfoDlg.h"

#include "app/FileAccess.h"
#include "filetools/CFileInfo.h"
#include "filetools/FileToolWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

struct CBox {
    QCheckBox* CFileInfoDlg::*member;
    const char* text;
    std::uint8_t bit;
    const char* why; // why the box cannot change here; nullptr when it can
};

// Read-only is the owner's write permission; the others have no counterpart the program may set.
constexpr CBox kBoxes[] = {
    {&CFileInfoDlg::archiveBox, "Archeve", kAttrArchive,
     "Linux has no archive attribute: every regular file shows it, and it cannot be changed."},
    {&CFileInfoDlg::readOnlyBox, "Read only", kAttrReadOnly, nullptr},
    {&CFileInfoDlg::hiddenBox, "Hidden", kAttrHidden,
     "On Linux a file is hidden when its name starts with a dot: rename the file to change it."},
    {&CFileInfoDlg::systemBox, "System", kAttrSystem, "Linux has no system attribute; it cannot be set."},
};

} // namespace

CFileInfoDlg::CFileInfoDlg(CFileInfoDlgModel& model, CPorts& ports, QWidget* parent)
    : QDialog(parent), m_model(model), m_ports(ports) {
    const bool collections = model.CollectionMode();
    setWindowTitle(ToQ(model.Title()));
    setObjectName(QStringLiteral("fileInfoDlg"));

    auto* pathLabel = new QLabel(QStringLiteral("File path:"), this);
    folderLabel = new QLabel(ToQPath(model.FolderText()), this);
    folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    folderLabel->setAccessibleName(QStringLiteral("File path"));
    nameEdit = new QLineEdit(ToQPath(model.Name()), this);
    auto* nameLabel = NamingLabel("File name:", nameEdit, this);
    sizeLabel = new QLabel(ToQ(model.SizeText()), this);
    collectionCombo = new QComboBox(this);
    auto* comboLabel = NamingLabel("For collection:", collectionCombo, this);
    auto* commonLabel = new QLabel(QStringLiteral("Common collection files attribute:"), this);
    auto* attributesLabel = new QLabel(QStringLiteral("File attributes:"), this);
    for (const CBox& b : kBoxes) {
        auto* box = new QCheckBox(QString::fromLatin1(b.text), this);
        box->setChecked(model.Attribute(b.bit));
        if (b.why) {
            box->setEnabled(false);
            box->setAccessibleDescription(QString::fromLatin1(b.why));
            box->setToolTip(QString::fromLatin1(b.why));
        }
        this->*b.member = box;
    }
    applyAllBox = new QCheckBox(QStringLiteral("Set file attributes for all collection files"), this);
    applyAllBox->setChecked(model.ApplyAllChecked());
    okButton = Button("Ok", this);
    okButton->setDefault(true);
    cancelButton = Button("Cancel", this);

    auto* layout = new QVBoxLayout(this);
    auto* fields = new QGridLayout;
    fields->addWidget(pathLabel, 0, 0);
    fields->addWidget(folderLabel, 0, 1);
    fields->addWidget(nameLabel, 1, 0);
    fields->addWidget(nameEdit, 1, 1);
    fields->addWidget(sizeLabel, 2, 0, 1, 2);
    // Collection mode puts the chooser where the file fields are.
    fields->addWidget(comboLabel, 3, 0, 1, 2);
    fields->addWidget(collectionCombo, 4, 0, 1, 2);
    layout->addLayout(fields);
    layout->addWidget(attributesLabel);
    layout->addWidget(commonLabel);
    auto* boxes = new QGridLayout;
    boxes->addWidget(archiveBox, 0, 0);
    boxes->addWidget(readOnlyBox, 0, 1);
    boxes->addWidget(hiddenBox, 1, 0);
    boxes->addWidget(systemBox, 1, 1);
    layout->addLayout(boxes);
    layout->addWidget(applyAllBox);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    layout->addLayout(buttons);

    for (QWidget* w :
         {static_cast<QWidget*>(pathLabel), static_cast<QWidget*>(folderLabel), static_cast<QWidget*>(nameLabel),
          static_cast<QWidget*>(nameEdit), static_cast<QWidget*>(sizeLabel)})
        w->setVisible(!collections);
    comboLabel->setVisible(collections);
    collectionCombo->setVisible(collections);
    commonLabel->setVisible(collections);
    attributesLabel->setVisible(!collections);
    if (collections) {
        for (const std::string& f : model.CollectionFiles()) collectionCombo->addItem(ToQPath(f));
        collectionCombo->setCurrentIndex(model.ComboIndex());
    }
    ChainTabOrder({nameEdit, collectionCombo, archiveBox, readOnlyBox, hiddenBox, systemBox, applyAllBox, okButton,
                   cancelButton});
    resize(440, sizeHint().height());

    okButton->setEnabled(false);
    connect(nameEdit, &QLineEdit::textChanged, this, &CFileInfoDlg::OnChange);
    for (QCheckBox* box : {archiveBox, readOnlyBox, hiddenBox, systemBox})
        connect(box, &QCheckBox::toggled, this, &CFileInfoDlg::OnChange);
    connect(okButton, &QPushButton::clicked, this, &CFileInfoDlg::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    if (collections) collectionCombo->setFocus();
    else
        nameEdit->setFocus();
}

void CFileInfoDlg::ReadFields() {
    m_model.SetName(FromQPath(nameEdit->text()).string());
    for (const CBox& b : kBoxes) m_model.SetAttribute(b.bit, (this->*b.member)->isChecked());
    m_model.SetComboIndex(collectionCombo->currentText().isEmpty() ? -1 : collectionCombo->currentIndex());
    m_model.SetApplyAllChecked(applyAllBox->isChecked());
}

void CFileInfoDlg::OnChange() {
    ReadFields();
    okButton->setEnabled(m_model.OkEnabled());
}

void CFileInfoDlg::accept() {
    ReadFields();
    if (!m_model.OkEnabled()) return; // Enter while nothing changed
    if (m_model.Accept(m_ports)) QDialog::accept();
}
