#pragma once

#include "textdoc/CTextEncoding.h"

#include <QObject>

#include <filesystem>

class QTextDocument;

// One open text file: its path, the way its bytes became text (and go back), and the text that
// every view of it (New Window) shares.
class CtavDoc : public QObject {
    Q_OBJECT
public:
    // The view kinds that decide the resource toolbar.
    enum EKind : int { kRcFile = 1, kResourceHeader = 2, kRtfDocument = 3, kOtherText = 4 };

    explicit CtavDoc(QObject* parent = nullptr);

    QTextDocument* Text() const { return m_text; }
    const std::filesystem::path& Path() const { return m_path; }
    void SetPath(const std::filesystem::path& path) { m_path = path; }
    // The file name, or "tavN" for a new document.
    QString Title() const;
    void SetUntitledNumber(int n) { m_untitled = n; }

    const CTextEncoding& Encoding() const { return m_encoding; }
    // Puts the file's bytes into the text; the undo history starts empty and the text unmodified.
    // A large text arrives in slices from the event loop after the first screenful, so a window
    // shows at once; anything that needs the whole text calls FinishLoading first.
    void Load(std::string_view bytes);
    bool IsLoading() const { return m_loaded < m_pending.size(); }
    // Inside a slice's insertion: the text grows at its end, nobody edited it.
    bool IsAppending() const { return m_appending; }
    void FinishLoading();
    // The bytes Save writes; nullopt when the file's encoding cannot hold the text.
    std::optional<std::string> Bytes();
    std::string BytesAsUtf8();
    // Rich text: the RTF file's bytes into the text (false when they are no RTF), and the
    // text as RTF for saving.
    bool LoadRtf(std::string_view bytes);
    std::string RtfBytes();

signals:
    void LoadingFinished();

public:
    bool IsRtfMode() const { return m_rtfMode; }
    void SetRtfMode(bool on) { m_rtfMode = on; }
    int Kind() const { return m_kind; }
    // Kind 1 for an .rc file with "APSTUDIO_READONLY_SYMBOLS", 2 for an .h file with "define".
    void DecideKind(std::string_view bytes);

    // Windows showing the document; the last one to go takes it along.
    void AddView() { ++m_views; }
    int RemoveView() { return --m_views; }

private:
    std::u16string RawText();
    void AppendSlice(std::size_t size);
    void LoadNextSlice();

    std::u16string m_pending; // the decoded text while it is still arriving
    std::size_t m_loaded = 0;
    bool m_appending = false;

    int m_views = 0;

    QTextDocument* m_text;
    std::filesystem::path m_path;
    CTextEncoding m_encoding;
    int m_untitled = 0;
    bool m_rtfMode = false;
    int m_kind = kOtherText;
};
