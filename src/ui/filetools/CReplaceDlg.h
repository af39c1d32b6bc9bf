#pragma once

#include "filetools/CReplaceInFiles.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// Dialog "Replace in all of collection files": the texts, the extension list, OK (one run, the
// dialog stays open), Cancel and Help. During a run the dialog is disabled; the progress
// indicator, a window of its own above it, keeps Stop usable.
class CReplaceDlg : public QDialog, private CProgressHost {
    Q_OBJECT
public:
    // The ports, the warning and progress must outlive the dialog. progress opens the indicator
    // of a run (owned by this dialog so a modal dialog does not block its Stop).
    CReplaceDlg(CPorts& ports, CReadOnlyWarning& warning, CProgressHost& progress, CReplaceScope scope,
                QWidget* parent = nullptr);

    QLineEdit* fromEdit = nullptr;
    QLineEdit* toEdit = nullptr;
    QLineEdit* alsoFromEdit = nullptr;
    QLineEdit* alsoToEdit = nullptr;
    QLineEdit* extensionEdit = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QPushButton* helpButton = nullptr;

    const CReplaceInFiles& Engine() const { return m_engine; }
    CReplaceInFiles::EOk LastResult() const { return m_last; }

private:
    std::unique_ptr<CProgress> OpenProgress() override;
    void OnOk();
    void OnHelp();

    CPorts m_ports; // the caller's, with this dialog's progress
    CProgressHost& m_progress;
    CReplaceInFiles m_engine;
    CReplaceInFiles::EOk m_last = CReplaceInFiles::EOk::Nothing;
};
