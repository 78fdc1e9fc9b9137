// Windows built from form declarations by the Qt backend: events both ways
// between widgets and controls, and the window's life.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QTabBar>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <thread>

#include "platform/qt/ControlWidgets.h"
#include "platform/qt/QtFormPeer.h"
#include "platform/qt/QtUi.h"
#include "support/ShowcaseForm.h"

namespace tarnwk::test {
namespace {

// Runs the event loop for about `ms` milliseconds, deleting what was
// deleted later too.
void serveFor(int ms) {
    QElapsedTimer elapsed;
    elapsed.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(1);
    } while (elapsed.elapsed() < ms);
}

class QtForm : public ::testing::Test {
protected:
    QWidget* window(ui::Form& of) { return backend.peerOf(of)->window(); }
    template <class W = QWidget>
    W* widget(const ui::Control& control) {
        return dynamic_cast<W*>(backend.peerOf(form)->objectOf(control));
    }
    // Past the do-events pause, so this call serves the loop.
    void doEventsLater() {
        std::this_thread::sleep_for(qt::QtUi::kServeInterval + std::chrono::milliseconds(5));
        backend.doEvents();
    }

    qt::QtUi backend;
    ui::Ui ui{backend};
    ShowcaseForm form{ui};
};

TEST_F(QtForm, WhatTheUserDoesReachesTheControls) {
    form.Show();
    QTest::mouseClick(widget(form.cmdOk), Qt::LeftButton);
    QTest::mouseClick(widget(form.lblLink), Qt::LeftButton);
    auto* box = widget<QAbstractButton>(form.chkRemember);
    box->click();
    form.chkRemember.setEnabled(false);  // the model decides, not the stale widget
    box->click();
    EXPECT_TRUE(box->isChecked());
    widget<QAbstractButton>(form.optQuick)->click();
    widget<QAbstractButton>(form.optQuick)->click();  // a second click leaves it set
    EXPECT_EQ(std::tuple(form.okClicks, form.linkClicks, form.rememberClicks,
                         form.chkRemember.value(), form.optQuick.value(), form.optFull.value()),
              std::tuple(1, 1, 1, 1, true, false));
    EXPECT_FALSE(widget<QAbstractButton>(form.optFull)->isChecked());

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
        EXPECT_EQ(list->selectedCount(), 1u);
        EXPECT_TRUE(list->selected(2));
    }

    auto* tabs = widget<qt::TabStrip>(form.tabMain);
    form.tabMain.setTab(1);  // from the program: no handler
    doEventsLater();
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(2).center());
    EXPECT_EQ(std::pair(form.tabMain.tab(), form.tabSelections), std::pair(2, 1));
}

TEST_F(QtForm, WhatTheProgramDoesReachesTheWidgetsAtTheNextServedTurn) {
    form.cmdOk.setEnabled(false);  // set before loading: shown at once
    form.Show();
    EXPECT_FALSE(widget(form.cmdOk)->isEnabled());
    form.tmrTick.setEnabled(true);  // timers follow at once
    form.tmrTick.setEnabled(false);
    EXPECT_FALSE(widget<QTimer>(form.tmrTick)->isActive());
    form.lblPath.setCaption("/var/log");
    form.chkRemember.setValue(1);
    form.lstFound.setItems({"first", "second"});
    form.lstFound.setSelected(1, true);
    EXPECT_EQ(widget<QLabel>(form.lblPath)->text(), "/home/user/A & B");
    doEventsLater();
    EXPECT_EQ(widget<QLabel>(form.lblPath)->text(), "/var/log");
    EXPECT_TRUE(widget<QAbstractButton>(form.chkRemember)->isChecked());
    EXPECT_EQ(form.rememberClicks, 0);
    form.lstFound.removeItem(0);
    doEventsLater();
    auto* list = widget<QListWidget>(form.lstFound);
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "second");
    EXPECT_TRUE(list->item(0)->isSelected());

    form.lstSingle.setVisible(false);  // a hidden list takes its rows when shown
    form.lstSingle.setItems(std::vector<std::string>(1000, "entry"));
    doEventsLater();
    EXPECT_TRUE(widget(form.lstSingle)->isHidden());
    EXPECT_EQ(widget<QListWidget>(form.lstSingle)->count(), 0);
    form.lstSingle.setVisible(true);
    QCoreApplication::processEvents();  // the running loop serves too
    EXPECT_EQ(widget<QListWidget>(form.lstSingle)->count(), 1000);
}

TEST_F(QtForm, TheWindowsLifeShowCloseActivateAndUnload) {
    form.Show();
    form.cancelUnload = true;  // cancels and hides, as a main window does
    EXPECT_FALSE(window(form)->close());
    EXPECT_EQ(form.queryUnloads, 1);
    EXPECT_FALSE(form.visible() || window(form)->isVisible());
    form.cancelUnload = false;
    form.Show();
    QPointer<QWidget> closed = window(form);
    closed->close();
    serveFor(10);
    EXPECT_TRUE(closed.isNull());
    EXPECT_EQ(form.unloads, 1);

    form.Show();
    ShowcaseForm closeless(ui, {.closeCommand = false}, "frmcloseless");
    closeless.Show();
    EXPECT_FALSE(window(closeless)->close());
    EXPECT_EQ(closeless.queryUnloads, 0);
    serveFor(120);
    const int before = form.activations;
    for (int twice = 0; twice < 2; ++twice) {  // the active window again: no new activation
        window(form)->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window(form)));
        serveFor(120);
    }
    EXPECT_EQ(form.activations, before + 1);
}

}  // namespace
}  // namespace tarnwk::test
