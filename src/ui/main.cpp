#include "app/CtavApp.h"
#include "app/Demos.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("User collection system"));
    QApplication::setApplicationName(QStringLiteral("Quillbox"));
    if (const int demo = RunDemoIfAsked(QApplication::arguments()); demo >= 0) return demo;
    CtavApp tav;
    if (!tav.InitInstance(QApplication::arguments())) return 0;
    return QApplication::exec();
}
