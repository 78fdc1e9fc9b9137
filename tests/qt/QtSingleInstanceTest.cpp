#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include "platform/qt/QtSingleInstance.h"
#include "qt/QtTestForm.h"

namespace tarnwk::test {
namespace {

class QtSingleInstanceTest : public ::testing::Test {
protected:
    std::string folder() const { return dir.path().toStdString(); }
    QTemporaryDir dir;
};

// Serves events until `done` or a few seconds have passed.
template <class Done>
void serveUntil(Done done) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 5000) serveFor(10);
}

TEST_F(QtSingleInstanceTest, FirstClaimsAndASecondDoesNot) {
    qt::QtSingleInstance first("tarnwick-test", folder());
    qt::QtSingleInstance second("tarnwick-test", folder());
    EXPECT_TRUE(first.claim());
    EXPECT_FALSE(second.claim());
    EXPECT_TRUE(QFileInfo::exists(first.lockPath()));
    EXPECT_TRUE(QFileInfo::exists(first.serverName()));
}

TEST_F(QtSingleInstanceTest, OtherKeysAreOtherInstances) {
    qt::QtSingleInstance first("tarnwick-test", folder());
    qt::QtSingleInstance other("tarnwick-other", folder());
    EXPECT_TRUE(first.claim());
    EXPECT_TRUE(other.claim());
}

TEST_F(QtSingleInstanceTest, SecondStartAsksTheRunningOneToComeForward) {
    qt::QtSingleInstance first("tarnwick-test", folder());
    int requests = 0;
    first.onActivateRequest = [&requests] { ++requests; };
    ASSERT_TRUE(first.claim());
    qt::QtSingleInstance second("tarnwick-test", folder());
    ASSERT_FALSE(second.claim());
    EXPECT_TRUE(second.activateRunning());
    serveUntil([&] { return requests > 0; });
    EXPECT_EQ(requests, 1);
    // It keeps answering later starts.
    qt::QtSingleInstance third("tarnwick-test", folder());
    EXPECT_TRUE(third.activateRunning());
    serveUntil([&] { return requests > 1; });
    EXPECT_EQ(requests, 2);
}

TEST_F(QtSingleInstanceTest, RequestRestoresAndRaisesTheFrontWindow) {
    qt::QtSingleInstance first("tarnwick-test", folder());
    ASSERT_TRUE(first.claim());
    QWidget window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // What the window asks of the desktop: a desktop without a window
    // manager never reports the states back.
    const auto minimized = [&window] {
        return window.windowHandle()->windowStates().testFlag(Qt::WindowMinimized);
    };
    window.showMinimized();
    serveUntil(minimized);
    ASSERT_TRUE(minimized());
    qt::QtSingleInstance second("tarnwick-test", folder());
    EXPECT_TRUE(second.activateRunning());
    serveUntil([&] { return !minimized(); });
    EXPECT_FALSE(minimized());
}

TEST_F(QtSingleInstanceTest, NothingToActivateWhenNoneRuns) {
    qt::QtSingleInstance lonely("tarnwick-test", folder());
    EXPECT_FALSE(lonely.activateRunning());
}

TEST_F(QtSingleInstanceTest, EndedInstanceFreesTheClaim) {
    {
        qt::QtSingleInstance first("tarnwick-test", folder());
        ASSERT_TRUE(first.claim());
    }
    qt::QtSingleInstance next("tarnwick-test", folder());
    EXPECT_TRUE(next.claim());
}

TEST_F(QtSingleInstanceTest, LockOfACrashedInstanceDoesNotBlock) {
    qt::QtSingleInstance instance("tarnwick-test", folder());
    // A process that takes the lock and dies without releasing it, and
    // leaves its socket file behind.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        QLockFile lock(instance.lockPath());
        _exit(lock.tryLock(0) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(QFileInfo::exists(instance.lockPath()));
    QFile socket(instance.serverName());
    ASSERT_TRUE(socket.open(QIODevice::WriteOnly));
    socket.close();

    int requests = 0;
    instance.onActivateRequest = [&requests] { ++requests; };
    EXPECT_TRUE(instance.claim());
    qt::QtSingleInstance second("tarnwick-test", folder());
    EXPECT_FALSE(second.claim());
    EXPECT_TRUE(second.activateRunning());
    serveUntil([&] { return requests > 0; });
    EXPECT_EQ(requests, 1);
}

TEST_F(QtSingleInstanceTest, OldUnreadableLockDoesNotBlock) {
    qt::QtSingleInstance instance("tarnwick-test", folder());
    QFile lock(instance.lockPath());
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime);
    lock.close();
    EXPECT_TRUE(instance.claim());
}

}  // namespace
}  // namespace tarnwk::test
