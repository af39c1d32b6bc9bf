#pragma once

#include <QDialog>

class CProjectSaveAs;
class QLineEdit;
class QPushButton;

// Dialogs "Save as VS project" and "Save as Any project": the source project file and the new
// one, each with its "Browe..." picker. OK checks the names; the copy runs after the dialog.
class CSaveProjectDlg : public QDialog {
    Q_OBJECT
public:
    // saveAs must outlive the dialog; any picks the "Any project" twin.
    CSaveProjectDlg(CProjectSaveAs& saveAs, bool any, QWidget* parent = nullptr);

    QString OldFile() const;
    QString NewFile() const;
    void accept() override;

    QLineEdit* sourceEdit = nullptr;
    QPushButton* sourceBrowse = nullptr;
    QLineEdit* targetEdit = nullptr;
    QPushButton* targetBrowse = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

private:
    void UpdateOk();

    CProjectSaveAs& m_saveAs;
};
