// Windows built from form declarations by the Qt backend: the window's life,
// and events both ways between widgets and controls.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QListWidget>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <thread>

#include "platform/qt/ControlWidgets.h"
#include "platform/qt/Twips.h"
#include "qt/QtTestForm.h"

namespace tarnwk::test {
namespace {

class QtForm : public ::testing::Test {
protected:
    template <class W = QWidget>
    W* widget(const ui::Control& control) {
        return QtView(backend, form).widget<W>(control);
    }
    // Past the do-events pause, so the next doEvents serves the loop.
    void doEventsLater() {
        std::this_thread::sleep_for(qt::QtUi::kServeInterval + std::chrono::milliseconds(5));
        backend.doEvents();
    }
    void clickRows(const ui::ListBox& list, std::initializer_list<int> rows) {
        auto* widget = this->widget<QListWidget>(list);
        for (const int row : rows)
            QTest::mouseClick(widget->viewport(), Qt::LeftButton, {},
                              widget->visualItemRect(widget->item(row)).center());
    }

    qt::QtUi backend;
    ui::Ui ui{backend};
    QtTestForm form{ui};
};

TEST_F(QtForm, WhatTheUserDoesReachesTheControls) {
    form.Show();
    QTest::mouseClick(widget(form.cmdOk), Qt::LeftButton);
    QTest::mouseClick(widget(form.lblLink), Qt::LeftButton);
    EXPECT_EQ(std::pair(form.okClicks, form.linkClicks), std::pair(1, 1));
    auto* box = widget<QAbstractButton>(form.chkRemember);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    form.chkRemember.setEnabled(false);  // the model decides, not the stale widget
    box->click();
    EXPECT_EQ(std::pair(form.chkRemember.value(), form.rememberClicks), std::pair(1, 1));
    EXPECT_TRUE(box->isChecked());
    widget<QAbstractButton>(form.optQuick)->click();
    widget<QAbstractButton>(form.optQuick)->click();  // a second click leaves it set
    EXPECT_TRUE(form.optQuick.value() && !form.optFull.value());
    EXPECT_FALSE(widget<QAbstractButton>(form.optFull)->isChecked());

    form.lstFound.setItems({"a", "b", "c"});
    form.lstSingle.setItems({"a", "b", "c"});
    doEventsLater();
    clickRows(form.lstFound, {1, 2, 1});
    clickRows(form.lstSingle, {0, 2});
    EXPECT_EQ(widget<QListWidget>(form.lstSingle)->selectionMode(),
              QAbstractItemView::SingleSelection);
    EXPECT_EQ(form.lstFound.selectedCount(), 1u);
    EXPECT_EQ(form.lstSingle.selectedCount(), 1u);
    EXPECT_TRUE(form.lstFound.selected(2) && form.lstSingle.selected(2));

    // Pages hold their controls where declared, relative to the tab control.
    auto* tabs = widget<qt::TabStrip>(form.tabMain);
    form.tabMain.setTab(1);  // from the program: no handler
    doEventsLater();
    EXPECT_EQ(widget(form.lblOnScan)->mapTo(tabs, QPoint(0, 0)),
              QPoint(qt::pixels(360), qt::pixels(720)));
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(2).center());
    EXPECT_EQ(form.tabMain.tab(), 2);
    EXPECT_EQ(form.tabSelections, 1);
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
    form.lblNotes.setVisible(false);
    form.lstFound.setItems({"first", "second"});
    form.lstFound.setSelected(1, true);
    EXPECT_EQ(widget<QLabel>(form.lblPath)->text(), "/home/user/A & B");
    doEventsLater();
    EXPECT_EQ(widget<QLabel>(form.lblPath)->text(), "/var/log");
    EXPECT_TRUE(widget<QAbstractButton>(form.chkRemember)->isChecked());
    EXPECT_EQ(form.rememberClicks, 0);
    EXPECT_TRUE(widget(form.lblNotes)->isHidden());
    auto* list = widget<QListWidget>(form.lstFound);
    form.lstFound.removeItem(0);
    doEventsLater();
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "second");
    EXPECT_TRUE(list->item(0)->isSelected());

    form.lstSingle.setVisible(false);  // a hidden list takes its rows when shown
    form.lstSingle.setItems(std::vector<std::string>(1000, "entry"));
    doEventsLater();
    EXPECT_EQ(widget<QListWidget>(form.lstSingle)->count(), 0);
    form.lstSingle.setVisible(true);
    QCoreApplication::processEvents();  // the running loop serves too
    EXPECT_EQ(widget<QListWidget>(form.lstSingle)->count(), 1000);
}

TEST_F(QtForm, TheWindowsLifeShowCloseActivateAndUnload) {
    form.Show();
    form.cancelUnload = true;  // cancels and hides, as a main window does
    EXPECT_FALSE(widget(form.cmdOk)->window()->close());
    EXPECT_EQ(form.queryUnloads, 1);
    EXPECT_FALSE(form.visible() || widget(form.cmdOk)->window()->isVisible());
    form.cancelUnload = false;
    form.Show();
    QPointer<QWidget> closed = widget(form.cmdOk)->window();
    closed->close();
    serveFor(10);
    EXPECT_TRUE(closed.isNull());
    EXPECT_EQ(form.unloads, 1);

    form.Show();
    QtTestForm closeless(ui, {.closeCommand = false}, "frmcloseless");
    closeless.Show();
    EXPECT_FALSE(QtView(backend, closeless).window()->close());
    EXPECT_EQ(closeless.queryUnloads, 0);
    serveFor(120);
    const int before = form.activations;
    QWidget* window = QtView(backend, form).window();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    serveFor(120);
    window->activateWindow();  // the active window again: no new activation
    serveFor(120);
    EXPECT_EQ(form.activations, before + 1);
}

}  // namespace
}  // namespace tarnwk::test
