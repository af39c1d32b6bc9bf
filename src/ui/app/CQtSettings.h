#pragma once

#include "app/Ports.h"

#include <QSettings>

// QSettings("User collection system", "Quillbox"), one group per section.
class CQtSettings : public CSettings {
public:
    CQtSettings();
    int GetInt(std::string_view section, std::string_view value, int def) const override;
    std::string GetString(std::string_view section, std::string_view value,
                          std::string_view def) const override;
    void WriteInt(std::string_view section, std::string_view value, int data) override;
    void WriteString(std::string_view section, std::string_view value, std::string_view data) override;
    void Sync() { m_store.sync(); }

private:
    mutable QSettings m_store;
};
