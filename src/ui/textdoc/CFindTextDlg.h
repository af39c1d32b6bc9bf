#pragma once

#include <QDialog>

#include <string>
#include <vector>

class CPrompt;
class QCheckBox;
class QComboBox;
class QLineEdit;

// Dialog 1017 "Find F3": word mode (an edit box with the proposed word) or list mode (a
// drop-down list of the search's keywords).
class CFindTextDlg : public QDialog {
    Q_OBJECT
public:
    // An empty list opens word mode with word; else list mode with the first entry chosen.
    CFindTextDlg(CPrompt& prompt, const QString& word, const std::vector<std::string>& list, QWidget* parent = nullptr);

    QString Word() const { return m_result; }
    bool MatchCase() const;
    bool WholeWord() const;
    QLineEdit* Edit() const { return m_edit; }
    QComboBox* List() const { return m_list; }

public slots:
    void accept() override;

private:
    CPrompt& m_prompt;
    bool m_listMode;
    QLineEdit* m_edit;
    QComboBox* m_list;
    QCheckBox* m_matchCase;
    QCheckBox* m_wholeWord;
    QString m_result;
};
