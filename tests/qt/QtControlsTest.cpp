// What the user does with a widget reaches its control, and what the program
// does to a control reaches its widget, a moment later.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <thread>

#include "qt/QtTestForm.h"

namespace tarnwk::test {
namespace {

class QtControlsTest : public ::testing::Test {
protected:
    void SetUp() override { form.Show(); }
    // Past the do-events pause, so the next doEvents serves the loop.
    void doEventsLater() {
        std::this_thread::sleep_for(qt::QtUi::kServeInterval + std::chrono::milliseconds(5));
        backend.doEvents();
    }
    template <class W>
    W* widget(const ui::Control& control) {
        return QtView(backend, form).widget<W>(control);
    }

    qt::QtUi backend;
    ui::Ui ui{backend};
    QtTestForm form{ui};
};

TEST_F(QtControlsTest, ButtonClickReachesTheHandler) {
    widget<QPushButton>(form.cmdOk)->click();
    EXPECT_EQ(form.okClicks, 1);
    QTest::mouseClick(widget<QPushButton>(form.cmdOk), Qt::LeftButton);
    EXPECT_EQ(form.okClicks, 2);
}

TEST_F(QtControlsTest, DisabledAndHiddenControlsMirrorTheModel) {
    form.cmdOk.setEnabled(false);
    form.chkRemember.setVisible(false);
    doEventsLater();
    EXPECT_FALSE(widget<QPushButton>(form.cmdOk)->isEnabled());
    EXPECT_TRUE(widget<QCheckBox>(form.chkRemember)->isHidden());
    widget<QPushButton>(form.cmdOk)->click();
    EXPECT_EQ(form.okClicks, 0);
    form.cmdOk.setEnabled(true);
    form.chkRemember.setVisible(true);
    doEventsLater();
    EXPECT_TRUE(widget<QPushButton>(form.cmdOk)->isEnabled());
    EXPECT_FALSE(widget<QCheckBox>(form.chkRemember)->isHidden());
}

TEST_F(QtControlsTest, StateSetBeforeLoadingIsShownAtOnce) {
    QtTestForm other(ui, {}, "frmother");
    other.cmdOk.setEnabled(false);
    other.lblPath.setVisible(false);
    other.chkRemember.setValue(1);
    other.Load();
    QtView view(backend, other);
    EXPECT_FALSE(view.widget<QPushButton>(other.cmdOk)->isEnabled());
    EXPECT_TRUE(view.widget<QLabel>(other.lblPath)->isHidden());
    EXPECT_TRUE(view.widget<QCheckBox>(other.chkRemember)->isChecked());
    EXPECT_TRUE(view.widget<QRadioButton>(other.optFull)->isChecked());
}

TEST_F(QtControlsTest, CheckBoxClickTogglesTheModelValue) {
    auto* box = widget<QCheckBox>(form.chkRemember);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    EXPECT_EQ(form.chkRemember.value(), 1);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(form.rememberClicks, 1);
    box->click();
    EXPECT_EQ(form.chkRemember.value(), 0);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(form.rememberClicks, 2);
}

TEST_F(QtControlsTest, CheckBoxValueFromTheModelRunsNoHandler) {
    form.chkRemember.setValue(1);
    doEventsLater();
    EXPECT_TRUE(widget<QCheckBox>(form.chkRemember)->isChecked());
    EXPECT_EQ(form.rememberClicks, 0);
}

TEST_F(QtControlsTest, ClickOnADisabledModelLeavesTheWidgetAsTheModelSays) {
    // The widget still looks enabled until the next turn; the model decides.
    form.chkRemember.setEnabled(false);
    widget<QCheckBox>(form.chkRemember)->click();
    EXPECT_EQ(form.chkRemember.value(), 0);
    EXPECT_FALSE(widget<QCheckBox>(form.chkRemember)->isChecked());
    EXPECT_FALSE(widget<QCheckBox>(form.chkRemember)->isEnabled());
}

TEST_F(QtControlsTest, OptionClickSetsItAndClearsItsSiblings) {
    auto* full = widget<QRadioButton>(form.optFull);
    auto* quick = widget<QRadioButton>(form.optQuick);
    EXPECT_TRUE(full->isChecked());
    quick->click();
    EXPECT_TRUE(form.optQuick.value());
    EXPECT_FALSE(form.optFull.value());
    EXPECT_TRUE(quick->isChecked());
    EXPECT_FALSE(full->isChecked());
    // A second click leaves it set, as an option button does.
    quick->click();
    EXPECT_TRUE(form.optQuick.value());
    EXPECT_TRUE(quick->isChecked());
}

TEST_F(QtControlsTest, ListSelectionByTheUserReachesTheModel) {
    form.lstFound.setItems({"/a > one", "/b > two", "/c > three"});
    doEventsLater();
    auto* list = widget<QListWidget>(form.lstFound);
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::MultiSelection);
    list->item(1)->setSelected(true);
    list->item(2)->setSelected(true);
    EXPECT_FALSE(form.lstFound.selected(0));
    EXPECT_TRUE(form.lstFound.selected(1));
    EXPECT_TRUE(form.lstFound.selected(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    EXPECT_FALSE(form.lstFound.selected(1));
    EXPECT_EQ(form.lstFound.selectedCount(), 1u);
}

TEST_F(QtControlsTest, ListSelectionByTheModelReachesTheWidget) {
    int clicks = 0;
    form.lstFound.onClick = [&clicks] { ++clicks; };
    form.lstFound.addItem("first");
    form.lstFound.addItem("second & more");
    form.lstFound.setSelected(1, true);
    doEventsLater();
    auto* list = widget<QListWidget>(form.lstFound);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), "second & more");
    EXPECT_FALSE(list->item(0)->isSelected());
    EXPECT_TRUE(list->item(1)->isSelected());
    EXPECT_EQ(clicks, 0);
    form.lstFound.removeItem(0);
    doEventsLater();
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "second & more");
    EXPECT_TRUE(list->item(0)->isSelected());
}

TEST_F(QtControlsTest, SingleSelectionListKeepsOneSelected) {
    form.lstSingle.setItems({"a", "b", "c"});
    doEventsLater();
    auto* list = widget<QListWidget>(form.lstSingle);
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(2)).center());
    EXPECT_FALSE(form.lstSingle.selected(0));
    EXPECT_TRUE(form.lstSingle.selected(2));
    EXPECT_EQ(form.lstSingle.selectedCount(), 1u);
}

TEST_F(QtControlsTest, HiddenListTakesItsRowsWhenShown) {
    form.lstSingle.setVisible(false);
    std::vector<std::string> many;
    for (int i = 0; i < 1000; ++i) many.push_back("entry " + std::to_string(i));
    form.lstSingle.setItems(many);
    doEventsLater();
    auto* list = widget<QListWidget>(form.lstSingle);
    EXPECT_EQ(list->count(), 0);
    form.lstSingle.setVisible(true);
    doEventsLater();
    EXPECT_EQ(list->count(), 1000);
    EXPECT_EQ(list->item(999)->text(), "entry 999");
}

TEST_F(QtControlsTest, TabChosenByTheUserRunsOnTabSelected) {
    auto* tabs = widget<QTabWidget>(form.tabMain);
    QTabBar* bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
    EXPECT_EQ(tabs->currentIndex(), 2);
    EXPECT_EQ(form.tabMain.tab(), 2);
    EXPECT_EQ(form.tabSelections, 1);
}

TEST_F(QtControlsTest, TabSetByTheProgramRunsNoHandler) {
    form.tabMain.setTab(1);
    doEventsLater();
    auto* tabs = widget<QTabWidget>(form.tabMain);
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_EQ(form.tabSelections, 0);
    EXPECT_TRUE(widget<QLabel>(form.lblOnScan)->isVisible());
}

TEST_F(QtControlsTest, ModelChangesAppearAtTheNextServedTurn) {
    auto* label = widget<QLabel>(form.lblPath);
    form.lblPath.setCaption("/var/log");
    EXPECT_EQ(label->text(), "/home/user/A & B");
    doEventsLater();
    EXPECT_EQ(label->text(), "/var/log");
}

TEST(QtDeferredUpdateTest, ChangesWaitWhileDoEventsDoesNotServe) {
    qt::QtUi backend(std::chrono::hours(1));
    ui::Ui ui(backend);
    QtTestForm form(ui);
    form.Show();
    backend.doEvents();
    auto* label = QtView(backend, form).widget<QLabel>(form.lblPath);
    form.lblPath.setCaption("/var/tmp");
    backend.doEvents();
    EXPECT_EQ(label->text(), "/home/user/A & B");
    form.lblPath.setCaption("/var/log");
    QCoreApplication::processEvents();
    EXPECT_EQ(label->text(), "/var/log");
}

TEST_F(QtControlsTest, ModelChangesAppearWithoutDoEventsWhenTheLoopRuns) {
    form.lblPath.setCaption("/srv");
    form.cmdOk.setCaption("&Done");
    QCoreApplication::processEvents();
    EXPECT_EQ(widget<QLabel>(form.lblPath)->text(), "/srv");
    EXPECT_EQ(widget<QPushButton>(form.cmdOk)->text(), "&Done");
}

TEST_F(QtControlsTest, TimerTicksWhileEnabled) {
    form.tmrTick.setEnabled(true);
    auto* timer = QtView(backend, form).widget<QTimer>(form.tmrTick);
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 30);
    QElapsedTimer waited;
    waited.start();
    while (form.ticks < 2 && waited.elapsed() < 5000) serveFor(10);
    EXPECT_GE(form.ticks, 2);
    form.tmrTick.setEnabled(false);
    EXPECT_FALSE(timer->isActive());
    const int ticks = form.ticks;
    serveFor(100);
    EXPECT_EQ(form.ticks, ticks);
}

TEST_F(QtControlsTest, TimerHandlerThatUnloadsTheFormIsSafe) {
    form.tmrTick.onTimer = [this] {
        form.tmrTick.setEnabled(false);
        form.Unload();
    };
    form.tmrTick.setEnabled(true);
    QElapsedTimer waited;
    waited.start();
    while (form.loaded() && waited.elapsed() < 5000) serveFor(10);
    EXPECT_FALSE(form.loaded());
}

}  // namespace
}  // namespace tarnwk::test
