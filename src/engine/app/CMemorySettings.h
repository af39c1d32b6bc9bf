#pragma once

#include "app/Ports.h"

#include <map>
#include <string>
#include <utility>
#include <variant>

// Settings held in memory for one run: what quillbox-cli reads comes from arguments or the
// defaults, and nothing reaches the user's settings store. Tests use it too.
class CMemorySettings : public CSettings {
public:
    int GetInt(std::string_view section, std::string_view value, int def) const override;
    std::string GetString(std::string_view section, std::string_view value, std::string_view def) const override;
    void WriteInt(std::string_view section, std::string_view value, int data) override;
    void WriteString(std::string_view section, std::string_view value, std::string_view data) override;
    bool Has(std::string_view section, std::string_view value) const;

private:
    using Key = std::pair<std::string, std::string>;
    std::map<Key, std::variant<int, std::string>> m_values;
};
