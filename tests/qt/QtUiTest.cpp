// The backend's program-wide pieces: serving events, busy pointer, message
// boxes, popup menu, tray icon, the end of the program, and throughput.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <thread>

#include "platform/qt/QtShell.h"
#include "platform/qt/TrayIcon.h"
#include "qt/QtTestForm.h"

namespace tarnwk::test {
namespace {

using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageResult;

class QtUiTest : public ::testing::Test {
protected:
    qt::QtUi backend;
    ui::Ui ui{backend};
};

// Runs `act` on the message box once it is up.
void whenBoxIsUp(std::function<void(QMessageBox*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        act(box);
    });
}

TEST_F(QtUiTest, ClosingTheLastWindowDoesNotQuit) {
    EXPECT_FALSE(QApplication::quitOnLastWindowClosed());
}

TEST(QtUiServeTest, DoEventsDoesNotServeAgainWithinTheInterval) {
    qt::QtUi backend(std::chrono::hours(1));
    int served = 0;
    QTimer::singleShot(0, [&served] { ++served; });
    backend.doEvents();
    EXPECT_EQ(served, 1);
    QTimer::singleShot(0, [&served] { ++served; });
    backend.doEvents();
    EXPECT_EQ(served, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(served, 2);
}

TEST(QtUiServeTest, DoEventsServesOnceTheIntervalIsOver) {
    qt::QtUi backend;
    int served = 0;
    backend.doEvents();
    QTimer::singleShot(0, [&served] { ++served; });
    std::this_thread::sleep_for(qt::QtUi::kServeInterval + std::chrono::milliseconds(5));
    backend.doEvents();
    EXPECT_EQ(served, 1);
}

TEST_F(QtUiTest, BusyPointerIsPushedOnceAndRestored) {
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    backend.setBusy(true);
    backend.setBusy(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    backend.setBusy(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    backend.setBusy(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(QtUiTest, MessageBoxCarriesTheTitleTextAndIcon) {
    whenBoxIsUp([](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle(), "Tarnwick");
        EXPECT_EQ(box->text(), "Reference file <ref.dat> & more");
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        EXPECT_EQ(box->buttons().size(), 1);
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(backend.messageBox("Reference file <ref.dat> & more", MessageButtons::Ok,
                                 MessageIcon::Critical),
              MessageResult::Ok);
}

TEST_F(QtUiTest, MessageBoxDefaultIsTheFirstButton) {
    whenBoxIsUp([](QMessageBox* box) {
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes));
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_EQ(backend.messageBox("Go on?", MessageButtons::YesNo, MessageIcon::None),
              MessageResult::Yes);
    whenBoxIsUp([](QMessageBox* box) {
        EXPECT_EQ(box->icon(), QMessageBox::Information);
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Ok));
        box->button(QMessageBox::Cancel)->click();
    });
    EXPECT_EQ(backend.messageBox("End?", MessageButtons::OkCancel, MessageIcon::Information),
              MessageResult::Cancel);
}

TEST_F(QtUiTest, EscapeAnswersCancelNoOrOk) {
    const auto escape = [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); };
    whenBoxIsUp(escape);
    EXPECT_EQ(backend.messageBox("a", MessageButtons::OkCancel, MessageIcon::None),
              MessageResult::Cancel);
    whenBoxIsUp(escape);
    EXPECT_EQ(backend.messageBox("b", MessageButtons::YesNo, MessageIcon::None), MessageResult::No);
    whenBoxIsUp(escape);
    EXPECT_EQ(backend.messageBox("c", MessageButtons::Ok, MessageIcon::None), MessageResult::Ok);
}

TEST_F(QtUiTest, PopupMenuReturnsTheChosenIndex) {
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->actions().size(), 3);
        EXPECT_EQ(menu->actions().at(0)->text(), "Show Tarnwick");
        menu->setActiveAction(menu->actions().at(1));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    EXPECT_EQ(backend.popupMenu({"Show Tarnwick", "About", "Exit"}), 1);
}

TEST_F(QtUiTest, PopupMenuDismissedReturnsMinusOne) {
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        menu->close();
    });
    EXPECT_EQ(backend.popupMenu({"Show Tarnwick", "About", "Exit"}), -1);
}

TEST_F(QtUiTest, TrayIconReportsClicksAsTrayMessages) {
    std::vector<ui::TrayMessage> messages;
    const bool available = backend.addTrayIcon(
        "Tarnwick", [&messages](ui::TrayMessage message) { messages.push_back(message); });
    EXPECT_EQ(available, QSystemTrayIcon::isSystemTrayAvailable());
    ASSERT_NE(backend.trayIcon(), nullptr);
    QSystemTrayIcon& icon = backend.trayIcon()->icon();
    EXPECT_EQ(icon.toolTip(), "Tarnwick");
    EXPECT_FALSE(icon.icon().isNull());
    EXPECT_EQ(icon.contextMenu(), nullptr);
    emit icon.activated(QSystemTrayIcon::Trigger);
    emit icon.activated(QSystemTrayIcon::Context);
    emit icon.activated(QSystemTrayIcon::DoubleClick);
    emit icon.activated(QSystemTrayIcon::MiddleClick);
    EXPECT_EQ(messages, (std::vector<ui::TrayMessage>{ui::TrayMessage::LeftButtonDown,
                                                      ui::TrayMessage::RightButtonUp,
                                                      ui::TrayMessage::LeftDoubleClick}));
}

TEST_F(QtUiTest, EndProgramEndsTheProcessWithItsCode) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(backend.endProgram(3), ::testing::ExitedWithCode(3), "");
}

TEST_F(QtUiTest, ShellOpensWebAddressesAndLocalFiles) {
    const QUrl web = qt::shellUrl("http://www.tarnwick.example/products/twk/");
    EXPECT_EQ(web.scheme(), "http");
    EXPECT_EQ(web.toString(), "http://www.tarnwick.example/products/twk/");
    const QUrl file = qt::shellUrl("/tmp/Reports/scan & log 1.txt");
    EXPECT_TRUE(file.isLocalFile());
    EXPECT_EQ(file.toLocalFile(), "/tmp/Reports/scan & log 1.txt");
}

// The walk writes its labels for every file and calls doEvents between; the
// backend must keep up. Timing lives in the label churn bench, not here.
TEST_F(QtUiTest, ThreeHundredThousandLabelChangesEndOnTheNewestText) {
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

}  // namespace
}  // namespace tarnwk::test
