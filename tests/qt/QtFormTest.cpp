// Windows built from form declarations by the Qt backend: geometry, parents,
// looks, the window's life, and events both ways between widgets and controls.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <thread>

#include "platform/qt/ControlWidgets.h"
#include "platform/qt/Twips.h"
#include "qt/QtTestForm.h"

namespace tarnwk::test {
namespace {

using qt::pixels;

QRect px(int left, int top, int width, int height) {
    return {pixels(left), pixels(top), pixels(width), pixels(height)};
}

class QtForm : public ::testing::Test {
protected:
    template <class W>
    W* widget(const ui::Control& control) {
        return QtView(backend, form).widget<W>(control);
    }
    QWidget* window() { return QtView(backend, form).window(); }
    // Past the do-events pause, so the next doEvents serves the loop.
    void doEventsLater() {
        std::this_thread::sleep_for(qt::QtUi::kServeInterval + std::chrono::milliseconds(5));
        backend.doEvents();
    }
    void clickRow(QListWidget* list, int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

    qt::QtUi backend;
    ui::Ui ui{backend};
    QtTestForm form{ui};
};

TEST_F(QtForm, WidgetsFollowTheDeclarations) {
    form.Load();
    EXPECT_EQ(window()->size(), QSize(pixels(7000), pixels(5505)));
    EXPECT_EQ(window()->minimumSize(), window()->maximumSize());
    EXPECT_EQ(window()->windowTitle(), "Test Window");
    EXPECT_FALSE(window()->windowIcon().isNull());
    EXPECT_FALSE(window()->isVisible());
    const std::pair<const ui::Control*, QRect> geometry[] = {
        {&form.lblPath, px(120, 120, 3000, 255)},    {&form.cmdOk, px(4920, 120, 1215, 375)},
        {&form.lstFound, px(3240, 1200, 3495, 930)}, {&form.tabMain, px(120, 2640, 6615, 2175)},
        {&form.sbrStatus, px(0, 5250, 7000, 255)},   {&form.optFull, px(240, 360, 2000, 255)},
        {&form.lblOnPicture, px(60, 60, 1200, 255)}};
    for (const auto& [control, rect] : geometry)
        EXPECT_EQ(widget<QWidget>(*control)->geometry(), rect) << control->name();
    EXPECT_EQ(widget<QWidget>(form.optFull)->parentWidget(), widget<QGroupBox>(form.fraMode));
    EXPECT_EQ(widget<QWidget>(form.lblOnPicture)->parentWidget(),
              widget<qt::PictureWidget>(form.picBanner));
    EXPECT_EQ(widget<qt::PictureWidget>(form.picBanner)->picture(), "banner");
    QWidget* line = widget<QWidget>(form.linSeparator);
    EXPECT_EQ(line->geometry().width(), pixels(4200));
    EXPECT_EQ(line->geometry().center().y(), pixels(5040));

    EXPECT_EQ(widget<QLabel>(form.lblPath)->text(), "/home/user/A & B");
    EXPECT_EQ(widget<QLabel>(form.lblPath)->textFormat(), Qt::PlainText);
    EXPECT_TRUE(widget<QLabel>(form.lblNotes)->wordWrap());
    EXPECT_TRUE(widget<QGroupBox>(form.fraMode)->font().bold());
    EXPECT_FALSE(widget<QRadioButton>(form.optFull)->font().bold()) << "not its contents";
    EXPECT_EQ(widget<QLabel>(form.lblPath)->font().family(), QApplication::font().family());
    EXPECT_DOUBLE_EQ(widget<QLabel>(form.lblPath)->font().pointSizeF(), 8.25);
    auto* link = widget<QLabel>(form.lblLink);
    EXPECT_TRUE(link->font().underline());
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_FALSE(widget<QLabel>(form.lblPath)->font().underline());
    EXPECT_EQ(widget<QLabel>(form.lblOnPicture)->palette().color(QPalette::Window),
              QColor(Qt::white));
    EXPECT_TRUE(widget<QLabel>(form.lblOnPicture)->autoFillBackground());
    EXPECT_FALSE(widget<QLabel>(form.lblPath)->autoFillBackground());
    auto* time = widget<QStatusBar>(form.sbrStatus)->findChild<QLabel*>();
    ASSERT_NE(time, nullptr);
    EXPECT_EQ(time->text().size(),
              QLocale::system().toString(QTime::currentTime(), QLocale::ShortFormat).size());

    for (const auto& [style, flag, set] :
         {std::tuple{ui::FormStyle{}, Qt::WindowCloseButtonHint, true},
          {ui::FormStyle{}, Qt::WindowMinimizeButtonHint, false},
          {ui::FormStyle{.closeCommand = false}, Qt::WindowCloseButtonHint, false},
          {ui::FormStyle{.minimizeButton = true}, Qt::WindowMinimizeButtonHint, true},
          {ui::FormStyle{.titleBar = false}, Qt::FramelessWindowHint, true}}) {
        QtTestForm styled(ui, style, "frmstyle");
        styled.Load();
        EXPECT_EQ(QtView(backend, styled).window()->windowFlags().testFlag(flag), set) << flag;
    }
}

TEST_F(QtForm, TabPagesHoldTheirControlsRelativeToTheTabControl) {
    form.Load();
    auto* tabs = widget<QTabWidget>(form.tabMain);
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(1), "Scan");
    auto* label = widget<QLabel>(form.lblOnScan);
    EXPECT_EQ(label->parentWidget(), tabs->widget(1));
    const QPoint origin = static_cast<qt::TabStrip*>(tabs)->pageOrigin();
    EXPECT_EQ(label->pos() + origin, QPoint(pixels(360), pixels(720)));

    form.Show();
    form.tabMain.setTab(1);  // from the program: no handler
    doEventsLater();
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_EQ(form.tabSelections, 0);
    EXPECT_EQ(label->mapTo(tabs, QPoint(0, 0)), QPoint(pixels(360), pixels(720)));
    EXPECT_EQ(widget<QWidget>(form.cmdScan)->mapTo(tabs, QPoint(0, 0)),
              QPoint(pixels(3000), pixels(1320)));
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(2).center());
    EXPECT_EQ(form.tabMain.tab(), 2);
    EXPECT_EQ(form.tabSelections, 1);
}

TEST_F(QtForm, TheWindowsLifeShowCloseActivateAndUnload) {
    form.Show();
    EXPECT_TRUE(window()->isVisible());
    const QPoint centre = window()->screen()->availableGeometry().center();
    EXPECT_LE((window()->geometry().center() - centre).manhattanLength(), 40);
    EXPECT_EQ(ui.activeForm(), &form);
    form.cancelUnload = true;  // cancels and hides, as a main window does
    EXPECT_FALSE(window()->close());
    EXPECT_EQ(form.queryUnloads, 1);
    EXPECT_FALSE(form.visible());
    EXPECT_FALSE(window()->isVisible());

    form.cancelUnload = false;
    form.Show();
    QPointer<QWidget> closed = window();
    closed->close();
    EXPECT_EQ(form.unloads, 1);
    EXPECT_EQ(backend.peerOf(form), nullptr);
    serveFor(10);
    EXPECT_TRUE(closed.isNull());
    form.Show();
    EXPECT_EQ(form.loads, 2) << "loaded again, the form gets a fresh window";

    QtTestForm closeless(ui, {.closeCommand = false}, "frmcloseless");
    closeless.Show();
    EXPECT_FALSE(QtView(backend, closeless).window()->close());
    EXPECT_EQ(closeless.queryUnloads, 0);
    serveFor(120);
    EXPECT_EQ(ui.activeForm(), &closeless);
    const int before = form.activations;
    window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
    serveFor(120);
    EXPECT_EQ(form.activations, before + 1);
    window()->activateWindow();  // the active window again: no new activation
    serveFor(120);
    EXPECT_EQ(form.activations, before + 1);

    form.cmdOk.onClick = [this] { form.Unload(); };  // safe from a handler
    widget<QPushButton>(form.cmdOk)->click();
    EXPECT_FALSE(form.loaded());
    QPointer<QWidget> dropped;
    {
        QtTestForm shortLived(ui, {}, "frmshort");
        shortLived.Show();
        dropped = QtView(backend, shortLived).window();
        shortLived.lblPath.setCaption("pending");
    }
    serveFor(10);
    EXPECT_TRUE(dropped.isNull());
}

TEST_F(QtForm, WhatTheUserDoesReachesTheControls) {
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
    QTest::keyClick(window(), Qt::Key_O, Qt::AltModifier);  // "&OK"
    serveFor(300);
    QTest::mouseClick(widget<QPushButton>(form.cmdOk), Qt::LeftButton);
    EXPECT_EQ(form.okClicks, 2);
    QTest::mouseClick(widget<QLabel>(form.lblLink), Qt::LeftButton);
    EXPECT_EQ(form.linkClicks, 1);

    auto* box = widget<QCheckBox>(form.chkRemember);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    EXPECT_EQ(form.chkRemember.value(), 1);
    EXPECT_EQ(form.rememberClicks, 1);
    form.chkRemember.setEnabled(false);  // the model decides, not the stale widget
    box->click();
    EXPECT_EQ(form.chkRemember.value(), 1);
    EXPECT_TRUE(box->isChecked());

    auto* quick = widget<QRadioButton>(form.optQuick);
    quick->click();
    quick->click();  // a second click leaves it set
    EXPECT_TRUE(form.optQuick.value());
    EXPECT_FALSE(form.optFull.value());
    EXPECT_FALSE(widget<QRadioButton>(form.optFull)->isChecked());

    form.lstFound.setItems({"/a > one", "/b > two", "/c > three"});
    form.lstSingle.setItems({"a", "b", "c"});
    doEventsLater();
    auto* multi = widget<QListWidget>(form.lstFound);
    EXPECT_EQ(multi->selectionMode(), QAbstractItemView::MultiSelection);
    clickRow(multi, 1);
    clickRow(multi, 2);
    clickRow(multi, 1);
    EXPECT_EQ(form.lstFound.selectedCount(), 1u);
    EXPECT_TRUE(form.lstFound.selected(2));
    auto* single = widget<QListWidget>(form.lstSingle);
    EXPECT_EQ(single->selectionMode(), QAbstractItemView::SingleSelection);
    clickRow(single, 0);
    clickRow(single, 2);
    EXPECT_EQ(form.lstSingle.selectedCount(), 1u);
    EXPECT_TRUE(form.lstSingle.selected(2));
}

TEST_F(QtForm, WhatTheProgramDoesReachesTheWidgetsAtTheNextServedTurn) {
    QtTestForm early(ui, {}, "frmearly");  // state set before loading shows at once
    early.cmdOk.setEnabled(false);
    early.chkRemember.setValue(1);
    early.Load();
    EXPECT_FALSE(QtView(backend, early).widget<QPushButton>(early.cmdOk)->isEnabled());
    EXPECT_TRUE(QtView(backend, early).widget<QCheckBox>(early.chkRemember)->isChecked());

    form.Show();
    form.lblPath.setCaption("/var/log");
    form.chkRemember.setValue(1);
    form.cmdOk.setEnabled(false);
    form.lblNotes.setVisible(false);
    form.lstFound.addItem("first");
    form.lstFound.addItem("second & more");
    form.lstFound.setSelected(1, true);
    EXPECT_EQ(widget<QLabel>(form.lblPath)->text(), "/home/user/A & B");
    doEventsLater();
    EXPECT_EQ(widget<QLabel>(form.lblPath)->text(), "/var/log");
    EXPECT_TRUE(widget<QCheckBox>(form.chkRemember)->isChecked());
    EXPECT_EQ(form.rememberClicks, 0);
    EXPECT_FALSE(widget<QPushButton>(form.cmdOk)->isEnabled());
    EXPECT_TRUE(widget<QLabel>(form.lblNotes)->isHidden());
    auto* list = widget<QListWidget>(form.lstFound);
    form.lstFound.removeItem(0);
    doEventsLater();
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "second & more");
    EXPECT_TRUE(list->item(0)->isSelected());

    form.lstSingle.setVisible(false);  // a hidden list takes its rows when shown
    std::vector<std::string> many;
    for (int i = 0; i < 1000; ++i) many.push_back("entry " + std::to_string(i));
    form.lstSingle.setItems(many);
    doEventsLater();
    EXPECT_EQ(widget<QListWidget>(form.lstSingle)->count(), 0);
    form.lstSingle.setVisible(true);
    form.lblPath.setCaption("/srv");
    QCoreApplication::processEvents();  // the running loop serves too
    EXPECT_EQ(widget<QListWidget>(form.lstSingle)->count(), 1000);
    EXPECT_EQ(widget<QLabel>(form.lblPath)->text(), "/srv");
}

TEST_F(QtForm, TimersTickWhileEnabledAndMayUnloadTheirForm) {
    form.Show();
    form.tmrTick.setEnabled(true);
    auto* timer = widget<QTimer>(form.tmrTick);
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 30);
    QElapsedTimer waited;
    waited.start();
    while (form.ticks < 2 && waited.elapsed() < 5000) serveFor(10);
    EXPECT_GE(form.ticks, 2);
    form.tmrTick.setEnabled(false);
    EXPECT_FALSE(timer->isActive());
    form.tmrTick.onTimer = [this] { form.Unload(); };
    form.tmrTick.setEnabled(true);
    while (form.loaded() && waited.elapsed() < 10000) serveFor(10);
    EXPECT_FALSE(form.loaded());
}

}  // namespace
}  // namespace tarnwk::test
