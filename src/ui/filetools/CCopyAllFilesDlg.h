#pragma once

#include "filetools/CCopyAllFiles.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// Dialog "Copy all files": source and target folders with their "Browse" buttons, the minimum
// size and the extension list. The fields are filled on the first timer tick after opening.
class CCopyAllFilesDlg : public QDialog {
    Q_OBJECT
public:
    // copy and prompt must outlive the dialog.
    CCopyAllFilesDlg(CCopyAllFiles& copy, CPrompt& prompt, QWidget* parent = nullptr);

    // The checked fields once the dialog was closed with OK.
    const CCopyAllFiles::CFields& Fields() const { return m_fields; }
    void accept() override;
    // The first timer tick's work, public so tests need not wait for the event loop.
    void OnFirstTick();

    QLineEdit* sourceEdit = nullptr;
    QPushButton* sourceBrowse = nullptr;
    QLineEdit* targetEdit = nullptr;
    QPushButton* targetBrowse = nullptr;
    QLineEdit* minimumEdit = nullptr;
    QLineEdit* extensionEdit = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

private:
    CCopyAllFiles& m_copy;
    CPrompt& m_prompt;
    CCopyAllFiles::CFields m_fields;
    bool m_started = false;
};
