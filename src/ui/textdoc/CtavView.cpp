#include "textdoc/CtavView.h"

#include "QtConvert.h"
#include "app/CMainFrame.h"
#include "app/CommandTable.h"
#include "app/FileAccess.h"
#include "app/SettingsKeys.h"
#include "app/TextUtil.h"
#include "collections/CCollections.h"
#include "restools/CViewResourceTools.h"
#include "textdoc/CFindTextDlg.h"
#include "textdoc/CReplaceTextDlg.h"
#include "textdoc/CTextDocuments.h"
#include "textdoc/CtavDoc.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDialog>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace {

constexpr const char* kSaveFilter = "Text only (*.txt)|*.txt|RTF files (*.rtf)|*.rtf|All file (*.*)|*.*||";

QTextCharFormat MarkFormat() {
    QTextCharFormat f;
    f.setForeground(QColor(0, 0, 255));
    f.setFontUnderline(true);
    return f;
}

} // namespace

CtavView::CtavView(CTextDocuments& owner, CtavDoc* doc, QWidget* parent)
    : QPlainTextEdit(parent), m_owner(owner), m_doc(doc) {
    setDocument(doc->Text());
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setObjectName(QStringLiteral("textView"));
    // Until the whole text is there only reading makes sense; a key or a command completes it.
    if (doc->IsLoading()) {
        setReadOnly(true);
        connect(doc, &CtavDoc::LoadingFinished, this, [this] { setReadOnly(false); });
    }
    connect(doc->Text(), &QTextDocument::contentsChanged, this, [this] {
        m_textCopyValid = false;
        if (hasFocus()) ReportCaret();
    });
    connect(doc->Text(), &QTextDocument::contentsChange, this, &CtavView::MoveMarks);
    connect(this, &QPlainTextEdit::updateRequest, this, [this] { ShowVisibleMarks(); });
    connect(this, &QPlainTextEdit::selectionChanged, this, [this] {
        if (hasFocus()) ReportCaret();
    });
    UpdateAccessibleName();
    m_resTools = std::make_unique<CViewResourceTools>(*this, owner, owner.Frame().Ports());
}

CtavView::~CtavView() = default;

void CtavView::OnClose() {
    if (m_countedForCombo) m_owner.HideKeywordCombo();
    m_countedForCombo = false;
    if (m_initialised) m_owner.Frame().ShowResourceToolBar(m_doc ? m_doc->Kind() : CtavDoc::kOtherText, false);
    m_initialised = false;
    if (!m_doc || !m_doc->IsRtfMode()) m_owner.Frame().Ports().settings.Set(kViewFont, FormatViewFont(m_font));
}

void CtavView::UpdateAccessibleName() {
    if (m_doc) setAccessibleName(m_doc->Title());
}

void CtavView::SetViewFont(const CViewFont& font) {
    m_font = font;
    QFont f(ToQ(font.face));
    f.setStyleHint(QFont::Monospace);
    f.setPointSizeF(double(font.twips) / 20.0);
    f.setBold(font.effects & CViewFont::kBold);
    f.setItalic(font.effects & CViewFont::kItalic);
    f.setUnderline(font.effects & CViewFont::kUnderline);
    setFont(f);
}

void CtavView::InitialUpdate(std::vector<CMark> marks, const std::vector<std::string>& keywords) {
    if (m_doc->Kind() == CtavDoc::kRtfDocument) {
        // Rich text keeps its own fonts, takes no part in the keyword combo box and wraps like a
        // page.
        m_doc->SetRtfMode(true);
        setLineWrapMode(QPlainTextEdit::WidgetWidth);
        CaretToStart();
        m_initialised = true;
        return;
    }
    // The stored font of the last closed view is applied; without one, Courier new.
    SetViewFont(ParseViewFont(m_owner.Frame().Ports().settings.Get(kViewFont)).value_or(CViewFont{}));
    m_owner.ShowKeywordCombo();
    m_countedForCombo = true;
    const QString start = m_doc->Text()->firstBlock().text().left(5);
    if (start.compare(QLatin1String("{\\rtf"), Qt::CaseInsensitive) == 0) {
        m_doc->SetRtfMode(true);
        m_owner.Frame().Ports().prompt.Message("It's RTF- format.\r\nPlease load a textual file.");
    }
    if (!marks.empty()) {
        m_marks = std::move(marks);
        std::sort(m_marks.begin(), m_marks.end(), [](const CMark& a, const CMark& b) { return a.start < b.start; });
        m_longestMark = 0;
        for (const CMark& m : m_marks) m_longestMark = std::max(m_longestMark, m.end - m.start);
        m_keywords = keywords;
        m_marksPresent = true;
        m_shownFrom = m_shownTo = -1;
        ShowVisibleMarks();
        for (const std::string& k : keywords) m_owner.AddKeyword(k);
    }
    CaretToStart();
    m_nextPair = 0;
    m_matchCase = m_wholeWord = false;
    m_initialised = true;
}

void CtavView::RemoveMarks() {
    if (m_doc->IsRtfMode() || !m_marksPresent) return;
    m_marksPresent = false;
    m_marks.clear();
    m_marks.shrink_to_fit();
    m_markSelections.clear();
    UpdateSelections();
}

void CtavView::SetColorSelections(const QList<QTextEdit::ExtraSelection>& colors) {
    m_colorSelections = colors;
    UpdateSelections();
}

void CtavView::UpdateSelections() {
    if (m_colorSelections.isEmpty()) setExtraSelections(m_markSelections);
    else if (m_markSelections.isEmpty())
        setExtraSelections(m_colorSelections);
    else
        setExtraSelections(m_markSelections + m_colorSelections);
}

// Only the marks near the screen are selections: thousands of them would each be a cursor the
// text updates on every keystroke.
void CtavView::ShowVisibleMarks() {
    if (!m_marksPresent) return;
    constexpr int kMarginLines = 200;
    const QTextDocument* text = document();
    const int firstLine = firstVisibleBlock().blockNumber();
    const int lines = viewport()->height() / std::max(1, fontMetrics().lineSpacing()) + 1;
    const QTextBlock fromBlock = text->findBlockByNumber(std::max(0, firstLine - kMarginLines));
    const QTextBlock toBlock = text->findBlockByNumber(firstLine + lines + kMarginLines);
    const int from = fromBlock.isValid() ? fromBlock.position() : 0;
    const int to = toBlock.isValid() ? toBlock.position() : text->characterCount();
    if (from == m_shownFrom && to == m_shownTo) return;
    m_shownFrom = from;
    m_shownTo = to;
    auto it = std::lower_bound(m_marks.begin(), m_marks.end(), from - m_longestMark,
                               [](const CMark& m, int pos) { return m.start < pos; });
    QList<QTextEdit::ExtraSelection> selections;
    const QTextCharFormat format = MarkFormat();
    for (; it != m_marks.end() && it->start < to; ++it) {
        if (it->end <= from) continue;
        QTextCursor c(document());
        c.setPosition(it->start);
        c.setPosition(it->end, QTextCursor::KeepAnchor);
        selections.append({c, format});
    }
    m_markSelections = std::move(selections);
    UpdateSelections();
}

// An edit other than typing (paste, cut, a replace) moves the marks after it and drops the marks it
// touched, so "go to next found word" still lands on the words.
void CtavView::MoveMarks(int position, int removed, int added) {
    if (!m_marksPresent || m_doc->IsAppending() || (removed == 0 && added == 0)) return;
    const int delta = added - removed;
    std::vector<CMark> kept;
    kept.reserve(m_marks.size());
    for (CMark m : m_marks) {
        if (m.end <= position) {
            kept.push_back(m);
        } else if (m.start >= position + removed) {
            m.start += delta;
            m.end += delta;
            kept.push_back(m);
        }
    }
    m_marks = std::move(kept);
    if (m_foundStart > position) m_foundStart = std::max(position, m_foundStart + delta);
    if (m_foundEnd > position) m_foundEnd = std::max(position, m_foundEnd + delta);
    m_shownFrom = m_shownTo = -1;
    ShowVisibleMarks();
}

void CtavView::CaretToStart() {
    QTextCursor c(document());
    setTextCursor(c);
}

void CtavView::Select(int start, int end) {
    QTextCursor c(document());
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    setTextCursor(c);
    ensureCursorVisible();
}

void CtavView::ReportCaret() {
    const QTextCursor c = textCursor();
    const int start = c.selectionStart();
    const int line = document()->findBlock(start).blockNumber();
    m_owner.Frame().SetCaretStatus((unsigned long)line, (unsigned long)start, (unsigned long)c.selectionEnd());
}

void CtavView::keyPressEvent(QKeyEvent* event) {
    if (m_doc->IsLoading() && !event->text().isEmpty()) m_doc->FinishLoading();
    if (!event->text().isEmpty() && event->text().at(0).isPrint()) RemoveMarks();
    QPlainTextEdit::keyPressEvent(event);
}

void CtavView::mouseReleaseEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseReleaseEvent(event);
    ReportCaret();
}

void CtavView::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    if (m_initialised) m_owner.Frame().ShowResourceToolBar(m_doc->Kind(), true);
}

void CtavView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    const bool selection = textCursor().hasSelection();
    QAction* copy = menu.addAction(QStringLiteral("Copy"), this, &QPlainTextEdit::copy);
    QAction* cut = menu.addAction(QStringLiteral("Cut"), this, &QPlainTextEdit::cut);
    QAction* paste = menu.addAction(QStringLiteral("Past"), this, &QPlainTextEdit::paste);
    copy->setEnabled(selection);
    cut->setEnabled(selection && !isReadOnly());
    paste->setEnabled(canPaste());
    if (!m_doc->IsRtfMode()) {
        menu.addSeparator();
        menu.addAction(QStringLiteral("Font..."), this, &CtavView::OnFontDialog);
    }
    menu.exec(event->globalPos());
}

void CtavView::OnFontDialog() {
    QFont shown(ToQ(m_font.face));
    shown.setPointSize(std::max(1, DialogSizeOfTwips(m_font.twips)));
    shown.setItalic(m_font.effects & CViewFont::kItalic);
    shown.setUnderline(m_font.effects & CViewFont::kUnderline);
    shown.setWeight((m_font.effects & CViewFont::kBold) ? QFont::DemiBold : QFont::Normal);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, shown, this, QStringLiteral("Font"));
    if (!ok) return;
    CViewFont f;
    f.face = FromQ(chosen.family());
    f.twips = TwipsOfDialogSize(chosen.pointSize());
    f.effects = (chosen.italic() ? 0ul + CViewFont::kItalic : 0ul) |
                (chosen.underline() ? 0ul + CViewFont::kUnderline : 0ul) |
                (chosen.weight() >= QFont::DemiBold ? 0ul + CViewFont::kBold : 0ul);
    SetViewFont(f);
}

bool CtavView::IsCommandEnabled(int id) const {
    const bool selection = textCursor().hasSelection();
    switch (id) {
    case kIdFileClose:
    case kIdFileSaveAs:
    case kIdSaveToAnotherFile:
    case kIdEditSelectAll:
    case kIdWindowNew:
    case kIdFindInText:
    case kIdFindKeyword:
    case kIdEditReplace: return true;
    case kIdFileSave: return m_doc->Text()->isModified() || m_doc->Path().empty();
    case kIdEditUndo: return document()->isUndoAvailable();
    case kIdEditCut: return selection && !isReadOnly();
    case kIdEditCopy: return selection;
    case kIdEditPaste: return canPaste();
    case kIdGoToNextFound: return m_marksPresent || !m_findWord.isEmpty();
    default: return CViewResourceTools::IsResourceCommand(id) && m_resTools->IsEnabled(id);
    }
}

void CtavView::RunCommand(int id) {
    if (id != kIdFileClose) m_doc->FinishLoading();
    switch (id) {
    case kIdFileClose:
        if (QWidget* w = parentWidget()) w->close();
        break;
    case kIdFileSave:
    case kIdFileSaveAs:
    case kIdSaveToAnotherFile: Save(id); break;
    case kIdEditUndo: undo(); break;
    case kIdEditCut: cut(); break;
    case kIdEditCopy: copy(); break;
    case kIdEditPaste: paste(); break;
    case kIdEditSelectAll:
        selectAll();
        ReportCaret();
        break;
    case kIdWindowNew: m_owner.NewWindow(*this); break;
    case kIdFindInText: FindInText(); break;
    case kIdEditReplace: ReplaceText(); break;
    case kIdGoToNextFound: GoToNextFound(); break;
    case kIdFindKeyword: FindComboKeyword(); break;
    default:
        if (CViewResourceTools::IsResourceCommand(id)) m_resTools->Run(id);
        break;
    }
}

bool CtavView::Save(int id) {
    CPorts& ports = m_owner.Frame().Ports();
    // The collapsed extract of coloured lines is never written: the whole text comes back first.
    for (CtavView* v : m_owner.Views())
        if (v->Document() == m_doc) v->m_resTools->RestoreCollapsed();
    m_resTools->RestoreCollapsed();
    if (id == kIdFileSave && !m_doc->Text()->isModified() && !m_doc->Path().empty()) return false;
    std::filesystem::path target = m_doc->Path();
    const bool ask = target.empty() || id != kIdFileSave;
    for (;;) {
        if (ask) {
            const std::string chosen =
                ports.pickers.SaveFile("Save resource file", kSaveFilter, ports.settings.Get(kLoadFileName));
            if (chosen.empty()) return false;
            ports.settings.Set(kLoadFileName, chosen);
            target = chosen;
        }
        if (!NeedsAttributeReset(target)) break;
        const EPromptAnswer a =
            ports.prompt.Ask("This file has a readonly attribute.\r\n\r\nWhat do you like to rewriting it in any case?",
                             "Quillbox", EPromptButtons::YesNoCancel, EPromptIcon::Question);
        if (a == EPromptAnswer::Yes) {
            SetFileAttribute(target, kAttrArchive);
            break;
        }
        if (a == EPromptAnswer::No && ask) continue;
        return false;
    }
    // An .rtf or .doc name takes rich text, whatever the document was read from.
    const std::string name = target.filename().string();
    const auto ext = FileExtension(name);
    const bool rich = ext && (EqualsNoCase(*ext, "rtf") || EqualsNoCase(*ext, "doc"));
    std::optional<std::string> bytes = rich ? std::optional(m_doc->RtfBytes()) : m_doc->Bytes();
    if (!bytes) {
        // A typed character Latin-1 has no byte for: the whole text goes out as UTF-8, not lost.
        ports.prompt.Message("The text holds characters the file's encoding (Latin-1) cannot keep;\r\n"
                             "it is saved as UTF-8.");
        bytes = m_doc->BytesAsUtf8();
    }
    if (!WriteWholeFile(ports.prompt, target, *bytes, true)) return false;
    if (id == kIdSaveToAnotherFile) {
        // The document keeps its own file; only an unchanged target may count as saved.
        if (target == m_doc->Path()) m_doc->Text()->setModified(false);
        return true;
    }
    m_doc->Text()->setModified(false);
    if (target != m_doc->Path()) {
        m_doc->SetPath(target);
        m_owner.DocumentRenamed(*this);
        CMainFrame& frame = m_owner.Frame();
        if (frame.CollectionWindow() && frame.Collections()) {
            frame.Collections()->OpenCurrentCollection();
            frame.raise();
            frame.activateWindow();
            setFocus();
        }
    }
    return true;
}

const std::u16string& CtavView::TextCopy() {
    m_doc->FinishLoading();
    if (!m_textCopyValid) {
        const QString raw = document()->toRawText();
        m_textCopy.assign(reinterpret_cast<const char16_t*>(raw.utf16()), std::size_t(raw.size()));
        for (char16_t& c : m_textCopy)
            if (c == u'\u2029') c = u'\n';
        m_textCopyValid = true;
    }
    return m_textCopy;
}

void CtavView::FindInText() {
    const std::u16string& text = TextCopy();
    const QTextCursor c = textCursor();
    QString word;
    if (c.hasSelection()) {
        word = c.selectedText().replace(QChar(0x2029), QLatin1Char('\n'));
    } else {
        const CFoundRange r = WordAtCaret(std::u16string_view(text), std::size_t(c.position()));
        word = QString::fromUtf16(text.data() + r.start, qsizetype(r.end - r.start));
    }
    m_findWord = word;
    CFindTextDlg dlg(m_owner.Frame().Ports().prompt, word, {}, this);
    if (dlg.exec() == QDialog::Accepted) {
        m_findWord = dlg.Word();
        m_matchCase = dlg.MatchCase();
        m_wholeWord = dlg.WholeWord();
    }
    if (!m_findWord.isEmpty()) FindNext();
}

void CtavView::FindNext() {
    if (m_foundStart < 0) return;
    const std::u16string& text = TextCopy();
    const std::u16string word(reinterpret_cast<const char16_t*>(m_findWord.utf16()), std::size_t(m_findWord.size()));
    const auto found = FindText(std::u16string_view(text), std::u16string_view(word), std::size_t(m_foundEnd),
                                m_matchCase, m_wholeWord);
    if (!found) {
        m_owner.Frame().Ports().prompt.Message("Found nothing more.");
        m_foundStart = m_foundEnd = 0;
        m_nextPair = 0;
        CaretToStart();
        return;
    }
    Select(int(found->start), int(found->end));
    m_foundStart = int(found->start);
    m_foundEnd = int(found->end);
    m_owner.AddKeyword(FromQ(m_findWord));
}

void CtavView::GoToNextFound() {
    if (m_marksPresent && !m_marks.empty()) {
        const auto next =
            std::find_if(m_marks.begin(), m_marks.end(), [this](const CMark& m) { return m.start >= m_foundStart; });
        if (next == m_marks.end()) {
            m_owner.Frame().Ports().prompt.Message("End of all found keywords.");
            m_nextPair = 0;
            m_foundStart = m_foundEnd = 0;
            CaretToStart();
            return;
        }
        Select(next->start, next->end);
        m_foundStart = m_foundEnd = next->end;
        m_findWord = textCursor().selectedText();
        m_owner.AddKeyword(FromQ(m_findWord));
        m_nextPair = std::size_t(next - m_marks.begin()) + 1;
        return;
    }
    RemoveMarks();
    if (m_findWord.isEmpty()) {
        CFindTextDlg dlg(m_owner.Frame().Ports().prompt, {}, m_keywords, this);
        if (m_keywords.empty() || dlg.exec() != QDialog::Accepted || dlg.Word().isEmpty()) return;
        m_findWord = dlg.Word();
        m_matchCase = dlg.MatchCase();
        m_wholeWord = dlg.WholeWord();
    }
    FindNext();
}

void CtavView::FindComboKeyword() {
    m_findWord = ToQ(m_owner.GetComboKeyword());
    if (m_findWord.isEmpty()) {
        FindInText();
        return;
    }
    FindNext();
}

void CtavView::ReplaceText() {
    if (!m_replaceDlg) {
        m_replaceDlg = new CReplaceTextDlg(this);
        connect(m_replaceDlg, &CReplaceTextDlg::FindNext, this, [this] { ReplaceFindNext(); });
        connect(m_replaceDlg, &CReplaceTextDlg::ReplaceOne, this, &CtavView::ReplaceOne);
        connect(m_replaceDlg, &CReplaceTextDlg::ReplaceAll, this, &CtavView::ReplaceAll);
    }
    const QTextCursor c = textCursor();
    QString word = c.selectedText();
    if (!c.hasSelection() || word.contains(QChar(0x2029))) {
        const std::u16string& text = TextCopy();
        const CFoundRange r = WordAtCaret(std::u16string_view(text), std::size_t(c.position()));
        word = QString::fromUtf16(text.data() + r.start, qsizetype(r.end - r.start));
    }
    m_replaceDlg->SetWord(word);
    m_replaceDlg->show();
    m_replaceDlg->raise();
    m_replaceDlg->activateWindow();
}

std::u16string CtavView::ReplaceWord() const {
    const QString w = m_replaceDlg->Word();
    return std::u16string(reinterpret_cast<const char16_t*>(w.utf16()), std::size_t(w.size()));
}

bool CtavView::ReplaceFindNext(bool quiet) {
    const std::u16string& text = TextCopy();
    const std::u16string word = ReplaceWord();
    const auto found =
        FindText(std::u16string_view(text), std::u16string_view(word), std::size_t(textCursor().selectionEnd()),
                 m_replaceDlg->MatchCase(), m_replaceDlg->WholeWord());
    if (!found) {
        if (!quiet) m_owner.Frame().Ports().prompt.Message("Found nothing more.");
        return false;
    }
    Select(int(found->start), int(found->end));
    return true;
}

// Replace changes the selection only when it is the word searched for; then it moves on.
void CtavView::ReplaceOne() {
    m_doc->FinishLoading();
    QTextCursor c = textCursor();
    if (c.hasSelection()) {
        const std::u16string& text = TextCopy();
        const std::u16string word = ReplaceWord();
        const auto here =
            FindText(std::u16string_view(text), std::u16string_view(word), std::size_t(c.selectionStart()),
                     m_replaceDlg->MatchCase(), m_replaceDlg->WholeWord());
        if (here && int(here->start) == c.selectionStart() && int(here->end) == c.selectionEnd()) {
            RemoveMarks();
            c.insertText(m_replaceDlg->Replacement());
            setTextCursor(c);
        }
    }
    ReplaceFindNext();
}

void CtavView::ReplaceAll() {
    m_doc->FinishLoading();
    const std::u16string word = ReplaceWord();
    std::vector<CFoundRange> found;
    {
        const std::u16string& text = TextCopy();
        for (std::size_t from = 0;;) {
            const auto f = FindText(std::u16string_view(text), std::u16string_view(word), from,
                                    m_replaceDlg->MatchCase(), m_replaceDlg->WholeWord());
            if (!f) break;
            found.push_back(*f);
            from = f->end;
        }
    }
    if (found.empty()) {
        m_owner.Frame().Ports().prompt.Message("Found nothing more.");
        return;
    }
    RemoveMarks();
    // One undo step; from the end so the earlier positions stay valid.
    QTextCursor c(document());
    c.beginEditBlock();
    const QString replacement = m_replaceDlg->Replacement();
    for (auto it = found.rbegin(); it != found.rend(); ++it) {
        c.setPosition(int(it->start));
        c.setPosition(int(it->end), QTextCursor::KeepAnchor);
        c.insertText(replacement);
    }
    c.endEditBlock();
    m_owner.Frame().Ports().prompt.Message(QStringLiteral("Replaced %1 words.").arg(found.size()).toStdString());
}
