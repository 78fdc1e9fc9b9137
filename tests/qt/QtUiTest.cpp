// The Qt backend's program-wide pieces: serving events, message boxes, the
// popup menu, the tray icon, the end of the program and the single-instance
// rule.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QLockFile>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "platform/qt/QtSingleInstance.h"
#include "platform/qt/QtUi.h"
#include "platform/qt/TrayIcon.h"

namespace tarnwk::test {
namespace {

using platform::MessageButtons;
using platform::MessageResult;

// Runs `act` on the modal widget of type W once it is up.
template <class W>
void whenUp(std::function<void(W*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        QWidget* up = QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                        : QApplication::activePopupWidget();
        act(qobject_cast<W*>(up));
    });
}

TEST(QtUi, DoEventsServesAtMostOncePerInterval) {
    qt::QtUi slow(std::chrono::hours(1));
    EXPECT_FALSE(QApplication::quitOnLastWindowClosed());
    int served = 0;
    for (int call = 0; call < 2; ++call) {
        QTimer::singleShot(0, [&served] { ++served; });
        slow.doEvents();
    }
    EXPECT_EQ(served, 1);
}

TEST(QtUi, MessageBoxesThePopupMenuTheTrayAndTheEnd) {
    qt::QtUi backend;
    const std::tuple<Qt::Key, MessageButtons, MessageResult> answers[] = {
        {Qt::Key_Return, MessageButtons::YesNo, MessageResult::Yes},
        {Qt::Key_Return, MessageButtons::OkCancel, MessageResult::Ok},
        {Qt::Key_Escape, MessageButtons::OkCancel, MessageResult::Cancel},
        {Qt::Key_Escape, MessageButtons::YesNo, MessageResult::No},
        {Qt::Key_Escape, MessageButtons::Ok, MessageResult::Ok}};
    for (const auto& [key, buttons, result] : answers) {
        whenUp<QMessageBox>([key](QMessageBox* box) {
            EXPECT_EQ(box->text(), "Go on with <b>?");
            EXPECT_EQ(box->textFormat(), Qt::PlainText);
            QTest::keyClick(box, key);
        });
        EXPECT_EQ(backend.messageBox("Go on with <b>?", buttons, platform::MessageIcon::None),
                  result);
    }

    whenUp<QMenu>([](QMenu* menu) {
        menu->setActiveAction(menu->actions().at(1));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    EXPECT_EQ(backend.popupMenu({"Show Tarnwick", "About", "Exit"}), 1);
    whenUp<QMenu>([](QMenu* menu) { menu->close(); });
    EXPECT_EQ(backend.popupMenu({"Show Tarnwick", "About", "Exit"}), -1);

    std::vector<ui::TrayMessage> messages;
    EXPECT_EQ(backend.addTrayIcon("Tarnwick", [&](ui::TrayMessage m) { messages.push_back(m); }),
              QSystemTrayIcon::isSystemTrayAvailable());
    for (const auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::Context,
                              QSystemTrayIcon::DoubleClick, QSystemTrayIcon::MiddleClick})
        emit backend.trayIcon()->icon().activated(reason);
    EXPECT_EQ(messages, (std::vector<ui::TrayMessage>{ui::TrayMessage::LeftButtonDown,
                                                      ui::TrayMessage::RightButtonUp,
                                                      ui::TrayMessage::LeftDoubleClick}));

    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(backend.endProgram(3), ::testing::ExitedWithCode(3), "");
}

TEST(QtSingleInstance, OneClaimsLaterStartsAskItForwardAndItsEndFreesTheClaim) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    int requests = 0;
    {
        qt::QtSingleInstance first("tarnwick-test", folder);
        first.onActivateRequest = [&requests] { ++requests; };
        EXPECT_FALSE(first.activateRunning()) << "none runs yet";
        ASSERT_TRUE(first.claim());
        EXPECT_TRUE(qt::QtSingleInstance("tarnwick-other", folder).claim());
        qt::QtSingleInstance second("tarnwick-test", folder);
        EXPECT_FALSE(second.claim());

        QWidget window;  // the front window is restored
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.showMinimized();
        const auto minimized = [&window] {
            return window.windowHandle()->windowStates().testFlag(Qt::WindowMinimized);
        };
        EXPECT_TRUE(QTest::qWaitFor(minimized));
        EXPECT_TRUE(second.activateRunning());
        EXPECT_TRUE(QTest::qWaitFor([&] { return requests == 1 && !minimized(); }));
    }
    EXPECT_TRUE(qt::QtSingleInstance("tarnwick-test", folder).claim());
}

TEST(QtSingleInstance, TheLockOfACrashedInstanceDoesNotBlock) {
    QTemporaryDir dir;
    qt::QtSingleInstance instance("tarnwick-test", dir.path().toStdString());
    const pid_t child = fork();  // takes the lock and dies without releasing it
    if (child == 0) _exit(QLockFile(instance.lockPath()).tryLock(0) ? 0 : 1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(status, 0);
    QFile socket(instance.serverName());  // and leaves its socket file behind
    ASSERT_TRUE(socket.open(QIODevice::WriteOnly));
    socket.close();
    EXPECT_TRUE(instance.claim());
    EXPECT_TRUE(qt::QtSingleInstance("tarnwick-test", dir.path().toStdString()).activateRunning());

    QTemporaryDir other;  // an old lock nobody can read
    qt::QtSingleInstance late("tarnwick-test", other.path().toStdString());
    QFile lock(late.lockPath());
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime);
    lock.close();
    EXPECT_TRUE(late.claim());
}

}  // namespace
}  // namespace tarnwk::test
