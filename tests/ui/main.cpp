#include <QApplication>
#include <gtest/gtest.h>

// Widget tests run without a display.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("User collection system"));
    QApplication::setApplicationName(QStringLiteral("Quillbox"));
    return RUN_ALL_TESTS();
}
