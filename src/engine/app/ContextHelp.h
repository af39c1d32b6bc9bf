#pragma once

#include <optional>
#include <string_view>

class CPrompt;

// The framework forms a command's help context as this base plus the command id.
inline constexpr unsigned long kHelpContextBase = 0x10000;

// The short contextual text of a command, nullopt for every command that has none.
std::optional<std::string_view> ContextHelpText(unsigned long commandId);

// Shows contextual help for a help context in a message box: the command's text captioned
// "Contextual help topic", else "Sorry, Help information is absent.". A request that arrives
// while a box is still open (a second click, a key repeat) shows nothing.
class CContextHelp {
public:
    void WinHelp(CPrompt& prompt, unsigned long helpContext);
    bool IsShowing() const { return m_showing; }

private:
    bool m_showing = false;
};
