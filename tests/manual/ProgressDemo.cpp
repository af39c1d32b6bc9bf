// A long operation under the progress indicator, to try Stop and Esc by hand.
//   progress_demo [ITEMS] [--creeping]

#include "app/CQtProgressHost.h"
#include "app/CQtPrompt.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLabel>
#include <QThread>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The progress indicator with its Stop button."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("items"), QStringLiteral("Items to work through (3000)."),
                                 QStringLiteral("[ITEMS]"));
    const QCommandLineOption creepingOption(QStringLiteral("creeping"), QStringLiteral("Run the bar in creeping mode."));
    parser.addOption(creepingOption);
    parser.process(app);

    bool ok = false;
    const QStringList positional = parser.positionalArguments();
    int items = positional.isEmpty() ? 0 : positional.first().toInt(&ok);
    if (!ok || items <= 0) items = 3000;
    const bool creeping = parser.isSet(creepingOption);

    QLabel owner(QStringLiteral("A long operation runs; press Stop or Esc in the progress window."));
    owner.setWindowTitle(QStringLiteral("Progress demo"));
    owner.setMargin(20);
    owner.resize(520, 160);
    owner.show();
    CQtPrompt prompt(&owner);
    CQtProgressHost host(prompt, &owner);
    QTimer::singleShot(300, &owner, [&] {
        auto progress = host.OpenProgress();
        progress->SetRange(creeping ? 2000 : items);
        if (creeping) progress->SetCreeping(true);
        int done = 0;
        for (; done < items && !progress->IsAborted(); ++done) {
            QThread::msleep(10);
            if (done % 10 == 0) progress->SetPos(done);
        }
        progress.reset();
        owner.setText(done < items ? QStringLiteral("Stopped after %1 items.").arg(done)
                                   : QStringLiteral("Done: %1 items.").arg(done));
    });
    return QApplication::exec();
}
