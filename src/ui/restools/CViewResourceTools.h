#pragma once

#include "restools/CResourceDlgs.h"
#include "restools/CResourceView.h"
#include "textdoc/CTextEncoding.h"

#include <QMetaObject>
#include <QTextEdit>

#include <memory>
#include <optional>
#include <utility>

class CResourceTools;
class CTextDocuments;
class CtavView;
struct CPorts;

// The "C++ tools" of one text view: the engine's resource tools over the view's text. Engine
// offsets are mapped to view characters through the text's encoding; colours are extra
// selections of the view, so they cost nothing in the undo history, never reach the saved file
// and follow the text when the user types around them.
class CViewResourceTools : public CResourceView {
public:
    CViewResourceTools(CtavView& view, CTextDocuments& owner, CPorts& ports);
    ~CViewResourceTools() override;

    static bool IsResourceCommand(int id);
    bool IsEnabled(int id);
    void Run(int id);
    bool IsCollapsed() const;
    // Before the document is written: a collapsed view gets its whole text back, so the extract
    // of coloured lines is never saved over the file.
    void RestoreCollapsed();
    CResourceTools& Tools() { return *m_tools; }

    std::string WorkingText() override;
    std::filesystem::path DocumentPath() override;
    void ReloadTextBlack(std::string_view text) override;
    void SetRangeColor(std::size_t start, std::size_t end, std::uint32_t color) override;
    void SelectRange(std::size_t start, std::size_t end) override;
    bool IsModified() override;
    void SetModified(bool modified) override;
    void SetWaitCursor(bool on) override;

    // Puts the colours and the selection of the last command on the screen.
    void Flush();

private:
    void SyncKind();
    // No view of a collapsed document takes typing: what was typed there would be lost on Restore.
    void SyncReadOnly();
    std::pair<int, int> ViewRange(std::size_t start, std::size_t end) const;

    CtavView& m_view;
    CTextDocuments& m_owner;
    CPorts& m_ports;
    CQtResourceDialogs m_dialogs;
    std::unique_ptr<CResourceTools> m_tools;
    // The map of the text last taken from or put into the view.
    CTextEncoding m_map;
    QList<QTextEdit::ExtraSelection> m_colors;
    bool m_colorsChanged = false;
    std::optional<std::pair<int, int>> m_select;
    bool m_reloading = false;
    QMetaObject::Connection m_edited;
};
