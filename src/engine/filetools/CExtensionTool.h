#pragma once

#include <optional>
#include <string>
#include <string_view>

class CAssociations;
class CPrompt;

// The "Extension tool" dialog's rules: the extension box, the information text and the state
// of "Remove". The associations and the prompt must outlive it.
class CExtensionTool {
public:
    CExtensionTool(CAssociations& associations, CPrompt& prompt) : m_assoc(associations), m_prompt(prompt) {}

    // The box's first text: the extension of the file of the selected collection row, from the
    // last '.' of its name; empty without a selected row or without a '.'.
    static std::string StartText(const std::optional<std::string>& selectedLocation);
    // The extension looked up for a typed text: leading blanks dropped, cut at the first blank,
    // a '.' put in front; empty for nothing usable ("", ".", "x.").
    static std::string CleanExtension(std::string_view text);

    void Open(std::string_view initialText); // the first timer tick
    void SetText(std::string_view text);     // every change of the box
    bool NewLink();                          // true when the new link was written
    bool Remove();                           // true when the link was removed

    const std::string& Extension() const { return m_ext; }
    const std::string& Info() const { return m_info; }
    bool RemoveEnabled() const { return m_removeEnabled; }

private:
    CAssociations& m_assoc;
    CPrompt& m_prompt;
    std::string m_text;
    std::string m_ext;
    std::string m_info;
    bool m_removeEnabled = false;
};
