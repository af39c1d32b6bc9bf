#pragma once

#include <QFile>
#include <QString>

#include <filesystem>
#include <string>
#include <string_view>

// The one place where engine bytes meet QString. Texts are taken as UTF-8; paths go through
// the file-name codec so names that are not valid UTF-8 survive the round trip.
inline QString ToQ(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }
inline std::string FromQ(const QString& s) { return s.toStdString(); }
inline QString ToQPath(const std::filesystem::path& p) { return QFile::decodeName(p.c_str()); }
inline std::filesystem::path FromQPath(const QString& s) {
    return std::filesystem::path(QFile::encodeName(s).toStdString());
}
// Message texts use "\r\n" for a line break.
inline QString ToQMessage(std::string_view s) { return ToQ(s).replace(QLatin1String("\r\n"), QLatin1String("\n")); }
