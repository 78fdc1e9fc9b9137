// The Qt backend: events both ways between widgets and declared controls,
// message boxes, the popup menu, the tray icon, the end of the program and
// the single-instance rule. The journey under Xvfb drives the rest.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QListWidget>
#include <QLockFile>
#include <QMenu>
#include <QMessageBox>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "platform/qt/ControlWidgets.h"
#include "platform/qt/QtFormPeer.h"
#include "platform/qt/QtSingleInstance.h"
#include "platform/qt/QtUi.h"
#include "platform/qt/TrayIcon.h"
#include "support/ShowcaseForm.h"

namespace tarnwk::test {
namespace {

using platform::MessageButtons;
using platform::MessageResult;

class QtForm : public ::testing::Test {
protected:
    template <class W = QWidget>
    W* widget(const ui::Control& control) {
        return dynamic_cast<W*>(backend.peerOf(form)->objectOf(control));
    }
    // Past the do-events pause, so this call serves the loop.
    void doEventsLater() {
        QTest::qSleep(qt::QtUi::kServeInterval.count() + 5);
        backend.doEvents();
    }

    qt::QtUi backend;
    ui::Ui ui{backend};
    ShowcaseForm form{ui};
};

TEST_F(QtForm, EventsReachTheControlsAndChangesTheWidgets) {
    form.cmdOk.setEnabled(false);  // set before loading: shown at once
    form.Show();
    EXPECT_FALSE(widget(form.cmdOk)->isEnabled());
    QTest::mouseClick(widget(form.lblLink), Qt::LeftButton);
    widget<QAbstractButton>(form.chkRemember)->click();
    widget<QAbstractButton>(form.optQuick)->click();
    widget<QAbstractButton>(form.optQuick)->click();  // a second click leaves it set
    EXPECT_EQ(std::tuple(form.linkClicks, form.rememberClicks, form.chkRemember.value(),
                         form.optQuick.value(), form.optFull.value()),
              std::tuple(1, 1, 1, true, false));

    // A simple list toggles rows, a single one keeps the last.
    form.lstFound.setItems({"a", "b", "c"});
    form.lstSingle.setItems({"a", "b", "c"});
    doEventsLater();
    for (const auto& [list, rows] : {std::pair{&form.lstFound, std::vector{1, 2, 1}},
                                     std::pair{&form.lstSingle, std::vector{0, 2}}}) {
        auto* rowsWidget = widget<QListWidget>(*list);
        for (const int row : rows)
            QTest::mouseClick(rowsWidget->viewport(), Qt::LeftButton, {},
                              rowsWidget->visualItemRect(rowsWidget->item(row)).center());
        EXPECT_TRUE(list->selectedCount() == 1 && list->selected(2));
    }

    auto* tabs = widget<qt::TabStrip>(form.tabMain);
    form.tabMain.setTab(1);  // from the program: no handler
    doEventsLater();
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(2).center());
    EXPECT_EQ(std::pair(form.tabMain.tab(), form.tabSelections), std::pair(2, 1));

    form.cancelUnload = true;  // a cancelled close hides, as a main window does
    EXPECT_FALSE(widget(form.cmdOk)->window()->close());
    EXPECT_FALSE(form.visible() || widget(form.cmdOk)->window()->isVisible());

    // What the program does reaches the widgets at the next served turn.
    form.Show();
    form.lblPath.setCaption("/var/log");
    form.lstFound.setItems({"first", "second"});
    form.lstFound.setSelected(1, true);
    EXPECT_EQ(widget<QLabel>(form.lblPath)->text(), "/home/user/A & B");
    doEventsLater();
    EXPECT_EQ(widget<QLabel>(form.lblPath)->text(), "/var/log");
    form.lstFound.removeItem(0);
    form.lstSingle.setVisible(false);  // a hidden list takes its rows when shown
    form.lstSingle.setItems({"entry"});
    doEventsLater();
    auto* list = widget<QListWidget>(form.lstFound);
    ASSERT_EQ(list->count(), 1);
    EXPECT_TRUE(list->item(0)->text() == "second" && list->item(0)->isSelected());
    form.lstSingle.setVisible(true);
    QCoreApplication::processEvents();  // the running loop serves too
    EXPECT_EQ(widget<QListWidget>(form.lstSingle)->count(), 1);
}

// Runs `act` on the modal widget of type W once it is up.
template <class W>
void whenUp(std::function<void(W*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        QWidget* up = QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                        : QApplication::activePopupWidget();
        act(qobject_cast<W*>(up));
    });
}

TEST(QtUi, MessageBoxesThePopupMenuTheTrayAndTheEnd) {
    qt::QtUi backend;
    const std::tuple<Qt::Key, MessageButtons, MessageResult> answers[] = {
        {Qt::Key_Return, MessageButtons::YesNo, MessageResult::Yes},
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

TEST(QtSingleInstance, OneClaimsLaterStartsAskItForwardAndNoLockOutlivesItsOwner) {
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

        EXPECT_TRUE(second.activateRunning());
        EXPECT_TRUE(QTest::qWaitFor([&] { return requests == 1; }));
    }
    // A crashed instance leaves its lock and socket file behind.
    qt::QtSingleInstance instance("tarnwick-test", folder);
    if (fork() == 0) _exit(QLockFile(instance.lockPath()).tryLock(0) ? 0 : 1);
    int status = 1;
    ASSERT_TRUE(wait(&status) > 0 && status == 0);
    QFile socket(instance.serverName());
    ASSERT_TRUE(socket.open(QIODevice::WriteOnly));
    socket.close();
    EXPECT_TRUE(instance.claim());
    EXPECT_TRUE(qt::QtSingleInstance("tarnwick-test", folder).activateRunning());

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

// The tests run on the offscreen platform unless told otherwise, also when
// CMake lists them at build time.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwick"));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
