#include "filetools/CExtensionTool.h"

#include "app/Ports.h"
#include "filetools/CAssociationWriter.h"
#include "filetools/CAssociations.h"

namespace {
constexpr std::string_view kNotFound = "Not found linked program.";
}

std::string CExtensionTool::StartText(const std::optional<std::string>& selectedLocation) {
    if (!selectedLocation) return {};
    // Of the name only: a '.' in a folder name is no extension of the file.
    const std::string_view location = *selectedLocation;
    const std::size_t slash = location.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? location : location.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

std::string CExtensionTool::CleanExtension(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    const std::size_t blank = text.find(' ');
    if (blank != std::string_view::npos) text = text.substr(0, blank);
    if (text.empty() || text == "." || (text.size() == 2 && text[1] == '.')) return {};
    return text[0] == '.' ? std::string(text) : "." + std::string(text);
}

void CExtensionTool::Open(std::string_view initialText) {
    m_text = std::string(initialText);
    if (m_text.empty()) {
        m_ext.clear();
        m_removeEnabled = false;
        return;
    }
    SetText(m_text);
}

void CExtensionTool::SetText(std::string_view text) {
    m_text = std::string(text);
    m_ext = CleanExtension(text);
    if (m_ext.empty()) {
        m_info.clear();
        m_removeEnabled = false;
        return;
    }
    const std::string info = m_assoc.GetAssociationInfo(m_ext);
    m_removeEnabled = !info.empty();
    m_info = info.empty() ? std::string(kNotFound) : info;
}

bool CExtensionTool::NewLink() {
    if (m_ext.empty() || m_ext[0] != '.') {
        m_prompt.Message("Insert a normal file extansion string, please.");
        return false;
    }
    if (m_removeEnabled && !m_prompt.AskYesNo("Are you sure it's will be right to change association?")) return false;
    const bool linked = m_assoc.Writer().CreateAssociation(m_ext);
    m_prompt.Message(linked ? "A new link was successful established" : "Can not to establish a new link.");
    SetText(m_text);
    return linked;
}

bool CExtensionTool::Remove() {
    if (!m_assoc.Writer().RemoveAssociation(m_ext)) return false;
    m_info = "This extension link was removed.";
    m_removeEnabled = false;
    return true;
}
