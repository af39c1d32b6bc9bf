#pragma once

#include "textdoc/TextFind.h"

#include <QObject>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class CChildFrame;
class CDocumentOutput;
class CKeywordComboBox;
class CMainFrame;
class CtavDoc;
class CtavView;
class QAction;

// The text documents of the main frame: opening (OpenDocumentFile), New, the view commands,
// the recent-file list and the keyword combo box on the main toolbar. Fills the frame's text
// seams when constructed; a child of the frame.
class CTextDocuments : public QObject {
    Q_OBJECT
public:
    explicit CTextDocuments(CMainFrame& frame);

    CMainFrame& Frame() const { return m_frame; }
    bool OpenDocumentFile(const std::filesystem::path& file, bool fromCollection);
    void NewDocument();
    // The view of the current document window, nullptr when none.
    CtavView* ActiveView() const;
    std::vector<CtavView*> Views() const;

    // A new window on the document of view (New Window).
    void NewWindow(CtavView& view);
    // Called by a view whose document took a new path.
    void DocumentRenamed(CtavView& view);
    std::vector<std::filesystem::path> RecentFiles() const;
    void AddRecentFile(const std::filesystem::path& file);

    // The keyword combo box: shown while text views are open.
    void ShowKeywordCombo();
    void HideKeywordCombo();
    void AddKeyword(const std::string& word);
    std::string GetComboKeyword();
    void SaveKeywordList();
    CKeywordComboBox* KeywordCombo() const { return m_combo; }
    bool IsKeywordComboShown() const;
    const CKeywordList& KeywordList() const { return m_keywords; }
    // Printing and Send mail.
    CDocumentOutput& Output() const { return *m_output; }

private:
    // nullopt when the file holds no RTF, to be opened as text instead.
    std::optional<bool> OpenRtfDocument(const std::filesystem::path& file);
    bool ActivateOpenDocument(const std::filesystem::path& file);
    CChildFrame* AddFrame(CtavDoc* doc, CtavView*& view);
    void FillCombo();

    CMainFrame& m_frame;
    CKeywordList m_keywords;
    bool m_keywordsLoaded = false;
    CKeywordComboBox* m_combo = nullptr; // a child of the main toolbar
    QAction* m_comboAction = nullptr;
    int m_comboCount = 0;
    int m_untitled = 0;
    CDocumentOutput* m_output; // a child of this
};
