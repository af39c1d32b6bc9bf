#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

// The program's command line: --help, --version and one optional FILE. "/p" in any case is an
// old switch, accepted and ignored; "/plans/a.txt" is a file. Parsing needs no application
// object, so --help and --version can answer before anything touches the display.
class CCommandLine {
public:
    enum class EAction { Run, Help, Version, Error };

    CCommandLine();
    // arguments as argv holds them, the program name first.
    EAction Parse(const QStringList& arguments);
    // What Help, Version or Error prints, ending in a newline. The help text names the program
    // only while an application object exists.
    QString Text(EAction action) const;
    // Absolute, so a second start in another folder hands over the right file; empty for none.
    const QString& File() const { return m_file; }
    // After an Error: true when a single-dash word may be one of Qt's own options (-platform,
    // -style), which only a QApplication takes out of the arguments.
    bool MayHoldQtOptions() const { return m_mayHoldQtOptions; }

private:
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    QString m_program;
    QString m_file;
    QString m_error;
    bool m_mayHoldQtOptions = false;
};
