#include "textdoc/CtavDoc.h"

#include "app/FileAccess.h"
#include "app/TextUtil.h"
#include "textdoc/RtfTextDocument.h"
#include "QtConvert.h"

#include <QPlainTextDocumentLayout>
#include <QTextDocument>

CtavDoc::CtavDoc(QObject* parent) : QObject(parent), m_text(new QTextDocument(this)) {
    m_text->setDocumentLayout(new QPlainTextDocumentLayout(m_text));
    std::u16string none;
    m_encoding = CTextEncoding::Decode({}, none);
}

QString CtavDoc::Title() const {
    if (m_path.empty()) return QStringLiteral("tav%1").arg(m_untitled);
    return ToQPath(m_path.filename());
}

void CtavDoc::Load(std::string_view bytes) {
    std::u16string text;
    m_encoding = CTextEncoding::Decode(bytes, text);
    const bool undo = m_text->isUndoRedoEnabled();
    m_text->setUndoRedoEnabled(false);
    m_text->setPlainText(QString::fromUtf16(text.data(), qsizetype(text.size())));
    m_text->setUndoRedoEnabled(undo);
    m_text->setModified(false);
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

std::string CtavDoc::RtfBytes() const {
    // Text that is an RTF file's own source (shown raw) is written back as it is.
    const QString start = m_text->toPlainText().left(5);
    if (m_kind != kRtfDocument && start.compare(QLatin1String("{\\rtf"), Qt::CaseInsensitive) == 0)
        return Bytes().value_or(BytesAsUtf8());
    return SaveRtfOf(*m_text);
}

std::u16string CtavDoc::RawText() const {
    // Raw, not plain: toPlainText turns no-break spaces into blanks.
    const QString raw = m_text->toRawText();
    return std::u16string(reinterpret_cast<const char16_t*>(raw.utf16()), std::size_t(raw.size()));
}

std::optional<std::string> CtavDoc::Bytes() const { return m_encoding.Encode(RawText()); }

std::string CtavDoc::BytesAsUtf8() const { return m_encoding.EncodeAsUtf8(RawText()); }

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
