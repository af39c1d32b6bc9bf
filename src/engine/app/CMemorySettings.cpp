#include "app/CMemorySettings.h"

#include <charconv>

int CMemorySettings::GetInt(std::string_view section, std::string_view value, int def) const {
    const auto it = m_values.find({std::string(section), std::string(value)});
    if (it == m_values.end()) return def;
    if (const int* i = std::get_if<int>(&it->second)) return *i;
    const std::string& s = std::get<std::string>(it->second);
    int v = def;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
}

std::string CMemorySettings::GetString(std::string_view section, std::string_view value, std::string_view def) const {
    const auto it = m_values.find({std::string(section), std::string(value)});
    if (it == m_values.end()) return std::string(def);
    if (const int* i = std::get_if<int>(&it->second)) return std::to_string(*i);
    return std::get<std::string>(it->second);
}

void CMemorySettings::WriteInt(std::string_view section, std::string_view value, int data) {
    m_values[{std::string(section), std::string(value)}] = data;
}

void CMemorySettings::WriteString(std::string_view section, std::string_view value, std::string_view data) {
    m_values[{std::string(section), std::string(value)}] = std::string(data);
}

bool CMemorySettings::Has(std::string_view section, std::string_view value) const {
    return m_values.count({std::string(section), std::string(value)}) != 0;
}
