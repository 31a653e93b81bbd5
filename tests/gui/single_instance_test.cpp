#include "platform/single_instance.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "app/app_texts.h"
#include "app/application.h"
#include "platform/ui_script.h"
#include "tests/gui/gui_test_support.h"

namespace kelvara {
namespace {

// A second process that takes the lock at `path` and holds it until its input closes.
class LockHolder {
public:
    explicit LockHolder(const QString& path) {
        m_process.start(test::TestExecutable(), {"--hold-instance-lock", path});
    }
    ~LockHolder() { Release(); }
    QString Answer() {
        if (!m_process.waitForReadyRead(20000)) return {};
        return QString::fromLatin1(m_process.readLine()).trimmed();
    }
    void Release() {
        if (m_process.state() == QProcess::NotRunning) return;
        m_process.closeWriteChannel();
        m_process.waitForFinished(20000);
    }

private:
    QProcess m_process;
};

TEST(SingleInstance, ASecondProcessFindsTheLockHeld) {
    QTemporaryDir dir;
    const QString path = dir.filePath("instance.lock");
    {
        CSingleInstanceLock first(path);
        ASSERT_EQ(first.GetState(), CSingleInstanceLock::State::Acquired);
        LockHolder other(path);
        EXPECT_EQ(other.Answer(), "busy");
    }
    // Released when its holder ends; the file stays behind and is reused.
    EXPECT_TRUE(QFileInfo::exists(path));
    LockHolder other(path);
    EXPECT_EQ(other.Answer(), "held");
    CSingleInstanceLock second(path);
    EXPECT_TRUE(second.AlreadyRunning());
    other.Release();
    CSingleInstanceLock third(path);
    EXPECT_EQ(third.GetState(), CSingleInstanceLock::State::Acquired);
}

TEST(SingleInstance, LockFileIsReadableByEveryone) {
    QTemporaryDir dir;
    const QString path = dir.filePath("instance.lock");
    CSingleInstanceLock lock(path);
    ASSERT_EQ(lock.GetState(), CSingleInstanceLock::State::Acquired);
    const QFile::Permissions permissions = QFileInfo(path).permissions();
    EXPECT_TRUE(permissions & QFile::ReadOther);
    EXPECT_TRUE(permissions & QFile::ReadGroup);
}

TEST(SingleInstance, AnUnusableLockFileDoesNotStopTheProgram) {
    QTemporaryDir dir;
    // A lock file that cannot be created: the program starts anyway.
    CSingleInstanceLock lock(dir.filePath("missing/instance.lock"));
    EXPECT_EQ(lock.GetState(), CSingleInstanceLock::State::Unavailable);
    EXPECT_FALSE(lock.AlreadyRunning());
}

TEST(SingleInstance, StartUpWhileAnotherInstanceRunsShowsTheMessageAndEnds) {
    QTemporaryDir dir;
    const QString path = dir.filePath("instance.lock");
    LockHolder other(path);
    ASSERT_EQ(other.Answer(), "held");

    CUiScript script;
    {
        CVexlBKFFileRepProjApp second(path);
        EXPECT_FALSE(second.InitInstance());
        EXPECT_EQ(second.GetMainFrame(), nullptr);
    }
    ASSERT_EQ(script.MessageBoxes().size(), 1u);
    const MessageBoxRequest box = script.MessageBoxes().front();
    EXPECT_EQ(box.text, "Another instance of application is already running");
    EXPECT_EQ(box.caption, "Kelvara v22.0");
    EXPECT_EQ(box.icon, MessageBoxIcon::Information);
    EXPECT_FALSE(box.hasOwner);

    other.Release();
    CVexlBKFFileRepProjApp later(path);
    EXPECT_TRUE(later.InitInstance());
    EXPECT_NE(later.GetMainFrame(), nullptr);
}

// The real program as the first instance: it takes the machine-wide lock in its temporary
// folder, stores the look 216 and keeps running; a second start is refused.
TEST(SingleInstance, TheRealProgramHoldsTheLockWhileItRuns) {
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath("config"));
    ASSERT_TRUE(QDir(root.path()).mkpath("runtime"));
    QFile::setPermissions(root.filePath("runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TMPDIR", root.path());
    env.insert("XDG_CONFIG_HOME", root.filePath("config"));
    env.insert("XDG_RUNTIME_DIR", root.filePath("runtime"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    const QString lockPath = root.filePath("{QUARELBACKUPEXECBKFREPHSH2912}.lock");
    const QString settingsPath = root.filePath("config/QuarelExecBKFRepDemov22.0/Kelvara.conf");

    QProcess program;
    program.setProcessEnvironment(env);
    program.start(test::KelvaraExecutable(), {});
    ASSERT_TRUE(program.waitForStarted(20000));
    // The look is stored once the frame exists, which is after the lock was taken.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(settingsPath), 30000);
    EXPECT_EQ(program.state(), QProcess::Running);
    EXPECT_EQ(QSettings(settingsPath, QSettings::IniFormat).value("ApplicationLook").toInt(), 216);

    CUiScript script;
    {
        CVexlBKFFileRepProjApp second(lockPath);
        EXPECT_FALSE(second.InitInstance());
    }
    EXPECT_EQ(script.MessageTexts(),
              QStringList{"Another instance of application is already running"});

    program.kill();
    program.waitForFinished(20000);
    CSingleInstanceLock afterwards(lockPath);
    EXPECT_EQ(afterwards.GetState(), CSingleInstanceLock::State::Acquired);
}

// Closing with Yes ends the process at once with exit status -1 (255 here) after removing the
// preview folder.
TEST(SingleInstance, ConfirmedCloseEndsTheProcessWithStatus255) {
    QTemporaryDir root;
    QProcess helper;
    helper.start(test::TestExecutable(), {"--close-frame", root.path()});
    ASSERT_TRUE(helper.waitForFinished(60000));
    EXPECT_EQ(helper.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(helper.exitCode(), 255);
    EXPECT_FALSE(QFileInfo::exists(root.filePath("VAVEdoDeduv4")));
}

}  // namespace
}  // namespace kelvara
