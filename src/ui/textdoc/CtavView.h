#pragma once

#include "textdoc/ViewFont.h"

#include <QPlainTextEdit>

#include <memory>
#include <string>
#include <vector>

class CTextDocuments;
class CViewResourceTools;
class CtavDoc;
class CReplaceTextDlg;

// The text view: a plain text widget over its document's text. Keyword marks are extra
// selections (blue, underlined), which cost nothing in the text's undo history and go away as a
// whole on the first typed character; only those near the screen exist at any time.
class CtavView : public QPlainTextEdit {
    Q_OBJECT
public:
    struct CMark {
        int start;
        int end;
    };

    CtavView(CTextDocuments& owner, CtavDoc* doc, QWidget* parent = nullptr);
    ~CtavView() override;
    // The window is closing: the combo box count, the resource toolbar and the stored font.
    void OnClose();

    CtavDoc* Document() const { return m_doc; }
    // The first showing: font, the "{\rtf" test, the marks at view positions and the keywords of
    // the search for the combo box.
    void InitialUpdate(std::vector<CMark> marks, const std::vector<std::string>& keywords);
    void UpdateAccessibleName();
    bool IsInitialised() const { return m_initialised; }

    bool IsCommandEnabled(int id) const;
    void RunCommand(int id);

    // Save (57603), Save As (57604) and 10039; false when nothing was written.
    bool Save(int id);
    bool HasMarks() const { return m_marksPresent; }
    const std::vector<CMark>& Marks() const { return m_marks; }
    void RemoveMarks();
    // The resource tools' coloured ranges, shown over the keyword marks.
    void SetColorSelections(const QList<QTextEdit::ExtraSelection>& colors);
    CViewResourceTools& ResourceTools() const { return *m_resTools; }

    void FindInText();
    void FindNext();
    void GoToNextFound();
    void FindComboKeyword();
    // Replace (Ctrl+H): a dialog that stays open beside the text.
    void ReplaceText();
    CReplaceTextDlg* ReplaceDialog() const { return m_replaceDlg; }
    bool ReplaceFindNext(bool quiet = false);
    void ReplaceOne();
    void ReplaceAll();
    // The find word and options, and where the last search stopped.
    QString& FindWord() { return m_findWord; }
    bool& MatchCase() { return m_matchCase; }
    bool& WholeWord() { return m_wholeWord; }

    const CViewFont& ViewFont() const { return m_font; }
    void SetViewFont(const CViewFont& font);
    void OnFontDialog();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    std::u16string ReplaceWord() const;
    void ShowVisibleMarks();
    void MoveMarks(int position, int removed, int added);
    void ReportCaret();
    const std::u16string& TextCopy();
    void Select(int start, int end);
    void CaretToStart();
    void UpdateSelections();

    CTextDocuments& m_owner;
    CtavDoc* m_doc; // outlives its views
    CViewFont m_font;
    bool m_initialised = false;
    bool m_countedForCombo = false;

    bool m_marksPresent = false;
    std::vector<CMark> m_marks; // sorted by start
    int m_longestMark = 0;
    int m_shownFrom = -1; // the text range whose marks are selections now
    int m_shownTo = -1;
    std::vector<std::string> m_keywords;
    std::size_t m_nextPair = 0;
    QList<QTextEdit::ExtraSelection> m_markSelections;
    QList<QTextEdit::ExtraSelection> m_colorSelections;
    std::unique_ptr<CViewResourceTools> m_resTools;

    QString m_findWord;
    bool m_matchCase = false;
    bool m_wholeWord = false;
    int m_foundStart = 0;
    int m_foundEnd = 0;
    CReplaceTextDlg* m_replaceDlg = nullptr;
    std::u16string m_textCopy;
    bool m_textCopyValid = false;
};
