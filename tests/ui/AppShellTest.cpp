#include "app/CQtPickers.h"
#include "app/CQtSettings.h"
#include "app/CSingleInstance.h"

#include "TestPorts.h"

#include <QLockFile>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;

namespace {

TEST(QtSettings, LivesInTheUsersConfigFolder) {
    CTempHome tmp;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString((tmp.Root() / "user" / ".config").string()));
    CQtSettings s;
    s.WriteInt("Property", "wasFavorite", 1);
    s.Sync();
    const fs::path conf = tmp.Root() / "user" / ".config" / "User collection system" / "Quillbox.conf";
    EXPECT_TRUE(fs::exists(conf));
}

TEST(SingleInstance, SecondStartHandsItsFileToTheFirstAndAStaleLockDoesNotBlock) {
    CTempHome tmp;
    const QString folder = QString::fromStdString(tmp.Work().string());
    // A lock file naming a process that no longer exists, as a crash leaves it.
    std::ofstream(tmp.Work() / "quillbox.lock") << "999999\nquillbox\n"
                                                << QSysInfo::machineHostName().toStdString() << "\n";
    CSingleInstance first(folder);
    ASSERT_TRUE(first.TryBecomePrimary());
    QSignalSpy spy(&first, &CSingleInstance::activationRequested);

    CSingleInstance second(folder);
    EXPECT_FALSE(second.TryBecomePrimary());
    EXPECT_TRUE(second.HandOver(QStringLiteral("/tmp/some file.txt")));
    ASSERT_TRUE(spy.wait(3000) || spy.count() == 1);
    EXPECT_EQ(spy.at(0).at(0).toString(), QStringLiteral("/tmp/some file.txt"));
}

TEST(QtPickers, FilterTranslation) {
    EXPECT_EQ(CQtPickers::ToQtFilter("Text files (*.txt)|*.txt|All files|*.*|"),
              QStringLiteral("Text files (*.txt) (*.txt);;All files (*)"));
    EXPECT_EQ(CQtPickers::ToQtFilter("Progect files|*.c; *.cpp;|"), QStringLiteral("Progect files (*.c *.cpp)"));
}

} // namespace
