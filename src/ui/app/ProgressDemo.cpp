#include "app/Demos.h"

#include "app/CQtProgressHost.h"
#include "app/CQtPrompt.h"

#include <QApplication>
#include <QLabel>
#include <QThread>
#include <QTimer>

int RunDemoIfAsked(const QStringList& arguments) {
    if (arguments.contains(QStringLiteral("--table-demo"))) return RunTableDemo(arguments);
    if (arguments.contains(QStringLiteral("--progress-demo"))) return RunProgressDemo(arguments);
    return -1;
}

int RunProgressDemo(const QStringList& arguments) {
    const qsizetype at = arguments.indexOf(QStringLiteral("--progress-demo"));
    bool ok = false;
    int items = at + 1 < arguments.size() ? arguments[at + 1].toInt(&ok) : 0;
    if (!ok || items <= 0) items = 3000;
    const bool creeping = arguments.contains(QStringLiteral("--creeping"));

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
