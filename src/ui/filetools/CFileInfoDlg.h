#pragma once

#include <QDialog>

class CFileInfoDlgModel;
struct CPorts;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Dialog "File Info": one file's folder, name, size and attribute boxes, or (collection mode,
// titled "Collection's files attributes") a collection chosen from the catalogue with the boxes
// for all its files. "Ok" is enabled only while something differs from the start. Only the
// read-only box can change anything on Linux; the others show their state, disabled.
class CFileInfoDlg : public QDialog {
    Q_OBJECT
public:
    // model and ports must outlive the dialog; "Ok" leaves the choices in model.
    CFileInfoDlg(CFileInfoDlgModel& model, CPorts& ports, QWidget* parent = nullptr);
    void accept() override;

    QLabel* folderLabel = nullptr;
    QLineEdit* nameEdit = nullptr;
    QLabel* sizeLabel = nullptr;
    QComboBox* collectionCombo = nullptr;
    QCheckBox* archiveBox = nullptr;
    QCheckBox* readOnlyBox = nullptr;
    QCheckBox* hiddenBox = nullptr;
    QCheckBox* systemBox = nullptr;
    QCheckBox* applyAllBox = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

private:
    void OnChange();
    void ReadFields();

    CFileInfoDlgModel& m_model;
    CPorts& m_ports;
};
