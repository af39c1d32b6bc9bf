#include "app/CCommandLine.h"
#include "app/CtavApp.h"

#include "QuillboxVersion.h"

#include <QApplication>

#include <cstdio>
#include <optional>

namespace {

int Answer(const CCommandLine& line, CCommandLine::EAction action) {
    const bool failed = action == CCommandLine::EAction::Error;
    std::fputs(line.Text(action).toLocal8Bit().constData(), failed ? stderr : stdout);
    return failed ? 2 : 0;
}

// --help, --version and a mistyped option answer here, before anything needs a display.
std::optional<int> AnswerWithoutDisplay(int& argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    CCommandLine line;
    const CCommandLine::EAction action = line.Parse(arguments);
    if (action == CCommandLine::EAction::Run) return std::nullopt;
    if (action == CCommandLine::EAction::Error && line.MayHoldQtOptions()) return std::nullopt;
    std::optional<QCoreApplication> core; // names the program in the usage line, needs no display
    if (action == CCommandLine::EAction::Help) core.emplace(argc, argv);
    return Answer(line, action);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication::setOrganizationName(QStringLiteral("User collection system"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillbox"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLBOX_VERSION));
    if (const auto exitCode = AnswerWithoutDisplay(argc, argv)) return *exitCode;

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quillbox.Quillbox"));
    CCommandLine line;
    if (const auto action = line.Parse(QApplication::arguments()); action != CCommandLine::EAction::Run)
        return Answer(line, action);
    CtavApp tav;
    if (!tav.InitInstance(line.File())) return 0;
    return QApplication::exec();
}
