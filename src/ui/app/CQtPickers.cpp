#include "app/CQtPickers.h"

#include "QtConvert.h"

#include <QFileDialog>
#include <QStringList>

std::string CQtPickers::BrowseForDirectory(std::string_view title, const std::filesystem::path& initial) {
    const QString dir =
        QFileDialog::getExistingDirectory(m_parent, title.empty() ? QStringLiteral("Select directory") : ToQ(title),
                                          ToQPath(initial), QFileDialog::ShowDirsOnly);
    return dir.isEmpty() ? std::string() : FromQPath(dir).string();
}

std::string CQtPickers::OpenFile(std::string_view title, std::string_view filter,
                                 const std::filesystem::path& initial) {
    const QString f = QFileDialog::getOpenFileName(m_parent, ToQ(title), ToQPath(initial), ToQtFilter(filter));
    return f.isEmpty() ? std::string() : FromQPath(f).string();
}

std::string CQtPickers::SaveFile(std::string_view title, std::string_view filter,
                                 const std::filesystem::path& initial) {
    const QString f = QFileDialog::getSaveFileName(m_parent, ToQ(title), ToQPath(initial), ToQtFilter(filter));
    return f.isEmpty() ? std::string() : FromQPath(f).string();
}

QString CQtPickers::ToQtFilter(std::string_view filter) {
    const QStringList parts = ToQ(filter).split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;
        QStringList patterns;
        for (QString p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            p = p.trimmed();
            patterns << (p == QLatin1String("*.*") ? QStringLiteral("*") : p);
        }
        out << parts[i] + QLatin1String(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return out.join(QLatin1String(";;"));
}
