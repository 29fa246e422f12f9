#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "platform/ProgramFolder.h"

namespace {

// Sets or clears TOVA_HOME for one test and puts the old value back.
class HomeGuard {
public:
    HomeGuard() : had_(qEnvironmentVariableIsSet("TOVA_HOME")), old_(qgetenv("TOVA_HOME")) {}
    ~HomeGuard() {
        if (had_)
            qputenv("TOVA_HOME", old_);
        else
            qunsetenv("TOVA_HOME");
    }

private:
    bool had_;
    QByteArray old_;
};

// TOVA_HOME, when set, is the program folder, without a trailing separator.
TEST(ProgramFolder, TovaHomeWins) {
    HomeGuard guard;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    qputenv("TOVA_HOME", (dir.path() + QStringLiteral("/")).toLocal8Bit());
    EXPECT_EQ(platform::programFolder(), dir.path());
    EXPECT_EQ(platform::inProgramFolder(QStringLiteral("TOVA.ini")),
              dir.path() + QStringLiteral("/TOVA.ini"));
}

// Without TOVA_HOME (unset or empty) the executable's folder is the program folder.
TEST(ProgramFolder, ExecutableFolderOtherwise) {
    HomeGuard guard;
    qunsetenv("TOVA_HOME");
    const QString exeDir = QDir::cleanPath(QCoreApplication::applicationDirPath());
    EXPECT_EQ(platform::programFolder(), exeDir);
    qputenv("TOVA_HOME", "");
    EXPECT_EQ(platform::programFolder(), exeDir);
    EXPECT_EQ(platform::inProgramFolder(QStringLiteral("LAYER")),
              exeDir + QStringLiteral("/LAYER"));
}

}  // namespace
