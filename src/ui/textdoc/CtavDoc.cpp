#include "textdoc/CtavDoc.h"

#include "QtConvert.h"
#include "app/FileAccess.h"
#include "app/TextUtil.h"
#include "textdoc/RtfTextDocument.h"

#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

CtavDoc::CtavDoc(QObject* parent) : QObject(parent), m_text(new QTextDocument(this)) {
    m_text->setDocumentLayout(new QPlainTextDocumentLayout(m_text));
    std::u16string none;
    m_encoding = CTextEncoding::Decode({}, none);
}

QString CtavDoc::Title() const {
    if (m_path.empty()) return QStringLiteral("tav%1").arg(m_untitled);
    return ToQPath(m_path.filename());
}

namespace {

// The first slice fills any window; the later ones are small enough to keep the window
// answering between them.
constexpr std::size_t kFirstSlice = 64 * 1024;
constexpr std::size_t kSlice = 512 * 1024;

} // namespace

void CtavDoc::Load(std::string_view bytes) {
    m_pending.clear();
    m_loaded = 0;
    m_encoding = CTextEncoding::Decode(bytes, m_pending);
    m_text->setUndoRedoEnabled(false);
    m_text->clear();
    AppendSlice(kFirstSlice);
    if (IsLoading()) QTimer::singleShot(0, this, &CtavDoc::LoadNextSlice);
}

void CtavDoc::LoadNextSlice() {
    if (!IsLoading()) return;
    AppendSlice(kSlice);
    if (IsLoading()) QTimer::singleShot(0, this, &CtavDoc::LoadNextSlice);
}

void CtavDoc::AppendSlice(std::size_t size) {
    std::size_t end = std::min(m_pending.size(), m_loaded + size);
    // A slice ends after a line end, so no line and no character is split.
    if (end < m_pending.size()) {
        const std::size_t nl = m_pending.find(u'\n', end);
        end = nl == std::u16string::npos ? m_pending.size() : nl + 1;
    }
    m_appending = true;
    QTextCursor c(m_text);
    c.movePosition(QTextCursor::End);
    c.insertText(QString::fromUtf16(m_pending.data() + m_loaded, qsizetype(end - m_loaded)));
    m_appending = false;
    m_loaded = end;
    m_text->setModified(false);
    if (IsLoading()) return;
    m_pending.clear();
    m_pending.shrink_to_fit();
    m_loaded = 0;
    m_text->setUndoRedoEnabled(true);
    emit LoadingFinished();
}

void CtavDoc::FinishLoading() {
    if (IsLoading()) AppendSlice(m_pending.size());
}

bool CtavDoc::LoadRtf(std::string_view bytes) {
    const bool undo = m_text->isUndoRedoEnabled();
    m_text->setUndoRedoEnabled(false);
    const bool loaded = LoadRtfInto(*m_text, bytes);
    m_text->setUndoRedoEnabled(undo);
    m_text->setModified(false);
    if (loaded) m_kind = kRtfDocument;
    return loaded;
}

std::string CtavDoc::RtfBytes() {
    FinishLoading();
    // Text that is an RTF file's own source (shown raw) is written back as it is.
    const QString start = m_text->firstBlock().text().left(5);
    if (m_kind != kRtfDocument && start.compare(QLatin1String("{\\rtf"), Qt::CaseInsensitive) == 0)
        return Bytes().value_or(BytesAsUtf8());
    return SaveRtfOf(*m_text);
}

std::u16string CtavDoc::RawText() {
    FinishLoading();
    // Raw, not plain: toPlainText turns no-break spaces into blanks.
    const QString raw = m_text->toRawText();
    return std::u16string(reinterpret_cast<const char16_t*>(raw.utf16()), std::size_t(raw.size()));
}

std::optional<std::string> CtavDoc::Bytes() { return m_encoding.Encode(RawText()); }

std::string CtavDoc::BytesAsUtf8() { return m_encoding.EncodeAsUtf8(RawText()); }

void CtavDoc::DecideKind(std::string_view bytes) {
    const std::string name = m_path.filename().string();
    const auto ext = FileExtension(name);
    if (ext && EqualsNoCase(*ext, "rc") && bytes.find("APSTUDIO_READONLY_SYMBOLS") != std::string_view::npos)
        m_kind = kRcFile;
    else if (ext && EqualsNoCase(*ext, "h") && bytes.find("define") != std::string_view::npos)
        m_kind = kResourceHeader;
    else
        m_kind = kOtherText;
}
