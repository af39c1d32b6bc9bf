#pragma once

#include "app/Ports.h"

#include <QSettings>

// QSettings("User collection system", "Quillbox"), one group per section.
class CQtSettings : public CSettings {
public:
    CQtSettings();
    int GetInt(std::string_view section, std::string_view value, int def) const override;
    std::string GetString(std::string_view section, std::string_view value, std::string_view def) const override;
    void WriteInt(std::string_view section, std::string_view value, int data) override;
    void WriteString(std::string_view section, std::string_view value, std::string_view data) override;
    // Writes what is pending; false when the store could not be written (a full disk, a folder
    // without write permission), the values then live only in memory.
    bool Sync() {
        m_store.sync();
        return m_store.status() == QSettings::NoError;
    }
    QString FileName() const { return m_store.fileName(); }

private:
    mutable QSettings m_store;
};
