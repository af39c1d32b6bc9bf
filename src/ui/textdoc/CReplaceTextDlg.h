#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The text view's Replace (Ctrl+H): find what, replace with, whole word and match case, and the
// buttons Find Next, Replace, Replace All and Cancel. It stays open beside the text, so the user
// sees each replacement; the view does the work.
class CReplaceTextDlg : public QDialog {
    Q_OBJECT
public:
    explicit CReplaceTextDlg(QWidget* parent = nullptr);

    void SetWord(const QString& word);
    QString Word() const;
    QString Replacement() const;
    bool MatchCase() const;
    bool WholeWord() const;

signals:
    void FindNext();
    void ReplaceOne();
    void ReplaceAll();

private:
    void UpdateButtons();

    QLineEdit* m_find;
    QLineEdit* m_replace;
    QCheckBox* m_wholeWord;
    QCheckBox* m_matchCase;
    QPushButton* m_findNext;
    QPushButton* m_replaceOne;
    QPushButton* m_replaceAll;
};
