#include "app/CCommandLine.h"

#include "QuillboxVersion.h"

#include <QDir>
#include <QFileInfo>

CCommandLine::CCommandLine()
    : m_help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and quit.")),
      m_version({QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Show the version and quit.")) {
    // Qt's own options are single-dash words; read them whole, not as bundled letters.
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.setApplicationDescription(QStringLiteral("Quillbox keeps collections of described files."));
    m_parser.addOption(m_help);
    m_parser.addOption(m_version);
    m_parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A text file to open."),
                                   QStringLiteral("[FILE]"));
}

CCommandLine::EAction CCommandLine::Parse(const QStringList& arguments) {
    m_program = arguments.isEmpty() ? QStringLiteral("quillbox") : QFileInfo(arguments.first()).fileName();
    m_file.clear();
    m_error.clear();
    m_mayHoldQtOptions = false;
    if (!m_parser.parse(arguments)) {
        m_error = m_parser.errorText();
        for (const QString& a : arguments.mid(1)) {
            if (a == QStringLiteral("--")) break;
            if (a.size() > 2 && a.startsWith(u'-') && !a.startsWith(QStringLiteral("--"))) m_mayHoldQtOptions = true;
        }
        return EAction::Error;
    }
    if (m_parser.isSet(m_help)) return EAction::Help;
    if (m_parser.isSet(m_version)) return EAction::Version;

    QStringList files = m_parser.positionalArguments();
    files.removeIf([](const QString& a) { return a.compare(QStringLiteral("/p"), Qt::CaseInsensitive) == 0; });
    if (files.size() > 1) {
        m_error = QStringLiteral("Only one FILE can be opened; \"%1\" is one too many.").arg(files[1]);
        return EAction::Error;
    }
    if (!files.isEmpty()) m_file = QDir::current().absoluteFilePath(files.first());
    return EAction::Run;
}

QString CCommandLine::Text(EAction action) const {
    switch (action) {
    case EAction::Help: return m_parser.helpText();
    case EAction::Version: return QStringLiteral("Quillbox " QUILLBOX_VERSION "\n");
    case EAction::Error:
        return m_program + QStringLiteral(": ") + m_error + QStringLiteral("\nTry '") + m_program +
               QStringLiteral(" --help' for more information.\n");
    case EAction::Run: break;
    }
    return {};
}
