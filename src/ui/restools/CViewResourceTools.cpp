#include "restools/CViewResourceTools.h"

#include "app/Ports.h"
#include "restools/CResourceTools.h"
#include "textdoc/CTextDocuments.h"
#include "textdoc/CtavDoc.h"
#include "textdoc/CtavView.h"

#include <QTextDocument>

namespace {

enum : int {
    kIdCorrect = 32008,
    kIdFindInRc = 32033,
    kIdFindInProject = 32024,
    kIdInvertRed = 32027,
    kIdExcludeRed = 32025,
    kIdRcOptions = 32021,
    kIdCompareRc = 32012,
    kIdGoToNextMark = 32014,
    kIdCollapse = 32017,
    kIdRestore = 32019,
};

QColor ColorOf(std::uint32_t bgr) { return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF)); }

std::u16string ViewText(const QTextDocument& doc) {
    const QString raw = doc.toRawText();
    std::u16string text(reinterpret_cast<const char16_t*>(raw.utf16()), std::size_t(raw.size()));
    for (char16_t& c : text)
        if (c == u'\u2029') c = u'\n';
    return text;
}

} // namespace

CViewResourceTools::CViewResourceTools(CtavView& view, CTextDocuments& owner, CPorts& ports)
    : m_view(view), m_owner(owner), m_ports(ports), m_dialogs(ports.prompt, ports.settings, ports.pickers, &view),
      m_tools(std::make_unique<CResourceTools>(*this, m_dialogs, ports)) {
    m_edited =
        QObject::connect(view.document(), &QTextDocument::contentsChange, &view, [this](int, int removed, int added) {
            // A large file's text still arriving is no edit.
            if (!m_reloading && (removed || added) && !m_view.Document()->IsAppending()) m_tools->OnTextEdited();
        });
}

CViewResourceTools::~CViewResourceTools() { QObject::disconnect(m_edited); }

bool CViewResourceTools::IsResourceCommand(int id) {
    switch (id) {
    case kIdCorrect:
    case kIdFindInRc:
    case kIdFindInProject:
    case kIdInvertRed:
    case kIdExcludeRed:
    case kIdRcOptions:
    case kIdCompareRc:
    case kIdGoToNextMark:
    case kIdCollapse:
    case kIdRestore: return true;
    default: return false;
    }
}

void CViewResourceTools::SyncKind() {
    const CtavDoc* doc = m_view.Document();
    EViewKind kind = EViewKind::Text;
    if (doc->IsRtfMode()) kind = EViewKind::Rtf;
    else if (doc->Kind() == CtavDoc::kRcFile)
        kind = EViewKind::RcScript;
    else if (doc->Kind() == CtavDoc::kResourceHeader)
        kind = EViewKind::ResourceHeader;
    m_tools->SetKind(kind);
}

bool CViewResourceTools::IsEnabled(int id) {
    SyncKind();
    const CResourceTools& t = *m_tools;
    switch (id) {
    case kIdCorrect: return t.CanCorrect();
    case kIdFindInRc: return t.CanFindInRcFile();
    case kIdFindInProject: return t.CanFindInProject();
    case kIdInvertRed: return t.CanInvertRed();
    case kIdExcludeRed: return t.CanExcludeRed();
    case kIdRcOptions: return t.CanRcOptions();
    case kIdCompareRc: return t.CanCompare();
    case kIdGoToNextMark: return t.CanGoToNext();
    case kIdCollapse: return t.CanCollapse();
    case kIdRestore: return t.CanRestore();
    default: return false;
    }
}

void CViewResourceTools::Run(int id) {
    SyncKind();
    CResourceTools& t = *m_tools;
    switch (id) {
    case kIdCorrect: t.OnCorrectResourceFile(); break;
    case kIdFindInRc: t.OnFindInRcFile(); break;
    case kIdFindInProject: t.OnFindInProject(); break;
    case kIdInvertRed: t.OnInvertRed(); break;
    case kIdExcludeRed: t.OnExcludeRed(); break;
    case kIdRcOptions: t.OnRcOptions(); break;
    case kIdCompareRc: t.OnCompareRc(); break;
    case kIdGoToNextMark: t.OnGoToNextMark(); break;
    case kIdCollapse: t.OnCollapseColors(); break;
    case kIdRestore: t.OnRestoreCollapsed(); break;
    default: return;
    }
    Flush();
    SyncReadOnly();
}

bool CViewResourceTools::IsCollapsed() const { return m_tools->Marks().collapsed; }

void CViewResourceTools::RestoreCollapsed() {
    if (!IsCollapsed()) return;
    m_tools->OnRestoreCollapsed();
    Flush();
    SyncReadOnly();
}

void CViewResourceTools::SyncReadOnly() {
    bool collapsed = false;
    const std::vector<CtavView*> views = m_owner.Views();
    for (CtavView* v : views)
        if (v->Document() == m_view.Document() && v->ResourceTools().IsCollapsed()) collapsed = true;
    for (CtavView* v : views)
        if (v->Document() == m_view.Document()) v->setReadOnly(collapsed);
    // A view not yet among the document windows (being set up) still follows its own state.
    m_view.setReadOnly(collapsed || IsCollapsed());
}

std::string CViewResourceTools::WorkingText() {
    CtavDoc* doc = m_view.Document();
    std::string bytes = doc->Bytes().value_or(std::string());
    if (bytes.empty()) bytes = doc->BytesAsUtf8();
    std::u16string shown;
    m_map = CTextEncoding::Decode(bytes, shown);
    return m_map.EngineText(bytes);
}

std::filesystem::path CViewResourceTools::DocumentPath() { return m_view.Document()->Path(); }

void CViewResourceTools::ReloadTextBlack(std::string_view text) {
    std::u16string shown;
    m_map = CTextEncoding::Decode(text, shown);
    m_colors.clear();
    m_colorsChanged = true;
    QTextDocument* doc = m_view.document();
    if (shown == ViewText(*doc)) return;
    m_reloading = true;
    m_view.RemoveMarks();
    doc->setPlainText(QString::fromUtf16(shown.data(), qsizetype(shown.size())));
    m_reloading = false;
    m_select = std::pair{0, 0};
}

std::pair<int, int> CViewResourceTools::ViewRange(std::size_t start, std::size_t end) const {
    const int s = int(m_map.ViewPosOfEngineOffset(start));
    const int e = int(m_map.ViewPosOfEngineOffset(end));
    return {s, std::max(s, e)};
}

void CViewResourceTools::SetRangeColor(std::size_t start, std::size_t end, std::uint32_t color) {
    const auto [s, e] = ViewRange(start, end);
    m_select = std::pair{s, e};
    // Black is what the text already shows unless an earlier colour lies under it.
    if (color == kColorBlack && m_colors.isEmpty()) return;
    QTextCursor c(m_view.document());
    c.setPosition(s);
    c.setPosition(e, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setForeground(ColorOf(color));
    m_colors.append({c, format});
    m_colorsChanged = true;
}

void CViewResourceTools::SelectRange(std::size_t start, std::size_t end) {
    m_select = ViewRange(start, end);
    Flush();
}

void CViewResourceTools::Flush() {
    if (m_colorsChanged) {
        m_view.SetColorSelections(m_colors);
        m_colorsChanged = false;
    }
    if (m_select) {
        QTextCursor c(m_view.document());
        c.setPosition(m_select->first);
        c.setPosition(m_select->second, QTextCursor::KeepAnchor);
        m_view.setTextCursor(c);
        m_view.ensureCursorVisible();
        m_select.reset();
    }
}

bool CViewResourceTools::IsModified() { return m_view.document()->isModified(); }
void CViewResourceTools::SetModified(bool modified) { m_view.document()->setModified(modified); }
void CViewResourceTools::SetWaitCursor(bool on) { m_ports.busy.SetWaitCursor(on); }
