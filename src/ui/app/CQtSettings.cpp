#include "app/CQtSettings.h"

#include "QtConvert.h"

namespace {
QString Key(std::string_view section, std::string_view value) { return ToQ(section) + QLatin1Char('/') + ToQ(value); }
} // namespace

CQtSettings::CQtSettings() : m_store(QStringLiteral("User collection system"), QStringLiteral("Quillbox")) {}

int CQtSettings::GetInt(std::string_view section, std::string_view value, int def) const {
    bool ok = false;
    const int v = m_store.value(Key(section, value)).toInt(&ok);
    return ok ? v : def;
}

std::string CQtSettings::GetString(std::string_view section, std::string_view value, std::string_view def) const {
    const QVariant v = m_store.value(Key(section, value));
    return v.isValid() ? FromQ(v.toString()) : std::string(def);
}

void CQtSettings::WriteInt(std::string_view section, std::string_view value, int data) {
    m_store.setValue(Key(section, value), data);
}

void CQtSettings::WriteString(std::string_view section, std::string_view value, std::string_view data) {
    m_store.setValue(Key(section, value), ToQ(data));
}
