#include "app/CtavApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("User collection system"));
    QApplication::setApplicationName(QStringLiteral("Quillbox"));
    CtavApp tav;
    if (!tav.InitInstance(QApplication::arguments())) return 0;
    return QApplication::exec();
}
