#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// What the resource tools need from the text view that shows the file. Offsets are byte offsets
// into the text last put into (or taken from) the view.
class CResourceView {
public:
    virtual ~CResourceView() = default;
    // The text the view shows now, the tools' working copy.
    virtual std::string WorkingText() = 0;
    virtual std::filesystem::path DocumentPath() = 0;
    // Shows text with every character in the default colour black.
    virtual void ReloadTextBlack(std::string_view text) = 0;
    virtual void SetRangeColor(std::size_t start, std::size_t end, std::uint32_t color) = 0;
    virtual void SelectRange(std::size_t start, std::size_t end) = 0;
    virtual bool IsModified() = 0;
    virtual void SetModified(bool modified) = 0;
    virtual void SetWaitCursor(bool on) = 0;
};

// A view without a window: quillbox-cli and the tests run the tools on it.
class CMemoryResourceView : public CResourceView {
public:
    struct CColored {
        std::size_t start;
        std::size_t end;
        std::uint32_t color;
    };
    CMemoryResourceView(std::filesystem::path path, std::string text)
        : m_path(std::move(path)), m_text(std::move(text)) {}

    std::string WorkingText() override { return m_text; }
    std::filesystem::path DocumentPath() override { return m_path; }
    void ReloadTextBlack(std::string_view text) override;
    void SetRangeColor(std::size_t start, std::size_t end, std::uint32_t color) override;
    void SelectRange(std::size_t start, std::size_t end) override;
    bool IsModified() override { return m_modified; }
    void SetModified(bool modified) override { m_modified = modified; }
    void SetWaitCursor(bool on) override { m_waitCursor = on; }

    const std::string& Text() const { return m_text; }
    // Colour calls since the last reload, in call order; a later call wins where they overlap.
    const std::vector<CColored>& Colored() const { return m_colored; }
    std::size_t SelStart() const { return m_selStart; }
    std::size_t SelEnd() const { return m_selEnd; }
    bool WaitCursor() const { return m_waitCursor; }

private:
    std::filesystem::path m_path;
    std::string m_text;
    std::vector<CColored> m_colored;
    std::size_t m_selStart = 0;
    std::size_t m_selEnd = 0;
    bool m_modified = false;
    bool m_waitCursor = false;
};
