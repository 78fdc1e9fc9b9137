// The Qt backend's program-wide pieces: serving events, the busy pointer,
// message boxes, the popup menu, the tray icon, the end of the program, the
// shell, artwork and the single-instance rule.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLockFile>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <thread>

#include "platform/qt/Artwork.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtSingleInstance.h"
#include "platform/qt/TrayIcon.h"
#include "qt/QtTestForm.h"

namespace tarnwk::test {
namespace {

using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageResult;

// Runs `act` on the modal widget of type W once it is up.
template <class W>
void whenUp(std::function<void(W*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        QWidget* up = QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                        : QApplication::activePopupWidget();
        auto* widget = qobject_cast<W*>(up);
        ASSERT_NE(widget, nullptr);
        act(widget);
    });
}

TEST(QtUi, DoEventsServesAtMostOncePerInterval) {
    qt::QtUi slow(std::chrono::hours(1));
    EXPECT_FALSE(QApplication::quitOnLastWindowClosed());
    int served = 0;
    QTimer::singleShot(0, [&served] { ++served; });
    slow.doEvents();
    QTimer::singleShot(0, [&served] { ++served; });
    slow.doEvents();
    EXPECT_EQ(served, 1);
    qt::QtUi backend;
    backend.doEvents();
    std::this_thread::sleep_for(qt::QtUi::kServeInterval + std::chrono::milliseconds(5));
    backend.doEvents();
    EXPECT_EQ(served, 2);

    // The walk writes a label per file with doEvents between; the newest text wins.
    ui::Ui ui{backend};
    QtTestForm form(ui);
    form.Show();
    for (int i = 1; i <= 300000; ++i) {
        form.lblPath.setCaption("/home/user/folder " + std::to_string(i));
        backend.doEvents();
    }
    std::this_thread::sleep_for(qt::QtUi::kServeInterval + std::chrono::milliseconds(5));
    backend.doEvents();
    EXPECT_EQ(QtView(backend, form).widget<QLabel>(form.lblPath)->text(),
              "/home/user/folder 300000");
}

TEST(QtUi, BusyPointerMessageBoxesAndThePopupMenu) {
    qt::QtUi backend;
    backend.setBusy(true);
    backend.setBusy(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    backend.setBusy(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "pushed once, restored once";

    whenUp<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle(), "Tarnwick");
        EXPECT_EQ(box->text(), "Reference file <ref.dat> & more");
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(backend.messageBox("Reference file <ref.dat> & more", MessageButtons::Ok,
                                 MessageIcon::Critical),
              MessageResult::Ok);
    whenUp<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes));
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_EQ(backend.messageBox("Go on?", MessageButtons::YesNo, MessageIcon::None),
              MessageResult::Yes);
    for (const auto& [buttons, escaped] :
         {std::pair{MessageButtons::OkCancel, MessageResult::Cancel},
          {MessageButtons::YesNo, MessageResult::No},
          {MessageButtons::Ok, MessageResult::Ok}}) {
        whenUp<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
        EXPECT_EQ(backend.messageBox("?", buttons, MessageIcon::Information), escaped);
    }

    whenUp<QMenu>([](QMenu* menu) {
        ASSERT_EQ(menu->actions().size(), 3);
        EXPECT_EQ(menu->actions().at(0)->text(), "Show Tarnwick");
        menu->setActiveAction(menu->actions().at(1));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    EXPECT_EQ(backend.popupMenu({"Show Tarnwick", "About", "Exit"}), 1);
    whenUp<QMenu>([](QMenu* menu) { menu->close(); });
    EXPECT_EQ(backend.popupMenu({"Show Tarnwick", "About", "Exit"}), -1);
}

TEST(QtUi, TrayShellArtworkAndTheEnd) {
    qt::QtUi backend;
    std::vector<ui::TrayMessage> messages;
    EXPECT_EQ(backend.addTrayIcon("Tarnwick", [&](ui::TrayMessage m) { messages.push_back(m); }),
              QSystemTrayIcon::isSystemTrayAvailable());
    QSystemTrayIcon& icon = backend.trayIcon()->icon();
    EXPECT_EQ(icon.toolTip(), "Tarnwick");
    EXPECT_FALSE(icon.icon().isNull());
    for (const auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::Context,
                              QSystemTrayIcon::DoubleClick, QSystemTrayIcon::MiddleClick})
        emit icon.activated(reason);
    EXPECT_EQ(messages, (std::vector<ui::TrayMessage>{ui::TrayMessage::LeftButtonDown,
                                                      ui::TrayMessage::RightButtonUp,
                                                      ui::TrayMessage::LeftDoubleClick}));

    EXPECT_EQ(qt::shellUrl("http://www.tarnwick.example/products/twk/").toString(),
              "http://www.tarnwick.example/products/twk/");
    EXPECT_EQ(qt::shellUrl("/tmp/Reports/scan & log.txt").toLocalFile(),
              "/tmp/Reports/scan & log.txt");

    for (const char* name : {"icon", "banner", "about", "splash"})
        EXPECT_TRUE(qt::hasArtwork(name));
    EXPECT_FALSE(qt::hasArtwork("nonesuch"));
    const QPixmap sharp = qt::artwork("banner", QSize(481, 105), 2.0);
    EXPECT_EQ(sharp.size(), QSize(962, 210));
    EXPECT_EQ(qAlpha(qt::artwork("banner", QSize(481, 105), 1.0).toImage().pixel(478, 102)), 255);
    EXPECT_EQ(qAlpha(qt::artwork("nonesuch", QSize(10, 10), 1.0).toImage().pixel(5, 5)), 0);
    const QIcon appIcon = qt::artworkIcon("icon");
    EXPECT_GE(appIcon.availableSizes().size(), 4);
    EXPECT_GT(qAlpha(appIcon.pixmap(QSize(16, 16)).toImage().pixel(8, 8)), 0);

    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(backend.endProgram(3), ::testing::ExitedWithCode(3), "");
}

// Serves events until `done` or a few seconds have passed.
void serveUntil(const std::function<bool()>& done) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 5000) serveFor(10);
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
        const auto minimized = [&window] {
            return window.windowHandle()->windowStates().testFlag(Qt::WindowMinimized);
        };
        window.showMinimized();
        serveUntil(minimized);
        EXPECT_TRUE(second.activateRunning());
        serveUntil([&] { return requests == 1 && !minimized(); });
        EXPECT_FALSE(minimized());
        EXPECT_TRUE(qt::QtSingleInstance("tarnwick-test", folder).activateRunning());
        serveUntil([&] { return requests == 2; });
        EXPECT_EQ(requests, 2);
    }
    EXPECT_TRUE(qt::QtSingleInstance("tarnwick-test", folder).claim());
}

TEST(QtSingleInstance, TheLockOfACrashedInstanceDoesNotBlock) {
    QTemporaryDir dir;
    qt::QtSingleInstance instance("tarnwick-test", dir.path().toStdString());
    const pid_t child = fork();  // takes the lock and dies without releasing it
    ASSERT_GE(child, 0);
    if (child == 0) {
        QLockFile lock(instance.lockPath());
        _exit(lock.tryLock(0) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    QFile socket(instance.serverName());  // and leaves its socket file behind
    ASSERT_TRUE(socket.open(QIODevice::WriteOnly));
    socket.close();
    EXPECT_TRUE(instance.claim());
    int requests = 0;
    instance.onActivateRequest = [&requests] { ++requests; };
    EXPECT_TRUE(qt::QtSingleInstance("tarnwick-test", dir.path().toStdString()).activateRunning());
    serveUntil([&] { return requests > 0; });
    EXPECT_EQ(requests, 1);

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
