// Windows built from form declarations: geometry, parents, captions, and the
// window's life (show, close request, activation, unload).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>

#include "platform/qt/ControlWidgets.h"
#include "platform/qt/Twips.h"
#include "qt/QtTestForm.h"

namespace tarnwk::test {
namespace {

using qt::pixels;

class QtFormPeerTest : public ::testing::Test {
protected:
    qt::QtUi backend;
    ui::Ui ui{backend};
};

QRect px(int left, int top, int width, int height) {
    return {pixels(left), pixels(top), pixels(width), pixels(height)};
}

TEST_F(QtFormPeerTest, WindowHasTheDeclaredClientSizeCaptionAndIcon) {
    QtTestForm form(ui);
    form.Load();
    QtView view(backend, form);
    ASSERT_NE(view.peer(), nullptr);
    QWidget* window = view.window();
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->size(), QSize(pixels(7000), pixels(5505)));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(window->windowTitle(), "Test Window");
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(form.loads, 1);
}

TEST_F(QtFormPeerTest, WindowButtonsFollowTheStyle) {
    QtTestForm plain(ui);
    plain.Load();
    const Qt::WindowFlags flags = QtView(backend, plain).window()->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);

    QtTestForm closeless(ui, {.closeCommand = false}, "frmcloseless");
    closeless.Load();
    EXPECT_FALSE(QtView(backend, closeless).window()->windowFlags() & Qt::WindowCloseButtonHint);

    QtTestForm minimizable(ui, {.minimizeButton = true}, "frmmin");
    minimizable.Load();
    EXPECT_TRUE(QtView(backend, minimizable).window()->windowFlags() &
                Qt::WindowMinimizeButtonHint);

    QtTestForm splash(ui, {.titleBar = false}, "frmsplash");
    splash.Load();
    EXPECT_TRUE(QtView(backend, splash).window()->windowFlags() & Qt::FramelessWindowHint);
}

TEST_F(QtFormPeerTest, ControlsGetTheirDeclaredGeometry) {
    QtTestForm form(ui);
    form.Load();
    QtView view(backend, form);
    EXPECT_EQ(view.widget<QLabel>(form.lblPath)->geometry(), px(120, 120, 3000, 255));
    EXPECT_EQ(view.widget<QPushButton>(form.cmdOk)->geometry(), px(4920, 120, 1215, 375));
    EXPECT_EQ(view.widget<QCheckBox>(form.chkRemember)->geometry(), px(4920, 600, 1815, 255));
    EXPECT_EQ(view.widget<QListWidget>(form.lstFound)->geometry(), px(3240, 1200, 3495, 930));
    EXPECT_EQ(view.widget<QTabWidget>(form.tabMain)->geometry(), px(120, 2640, 6615, 2175));
    EXPECT_EQ(view.widget<QStatusBar>(form.sbrStatus)->geometry(), px(0, 5250, 7000, 255));
    QWidget* line = view.widget<QWidget>(form.linSeparator);
    EXPECT_EQ(line->geometry().left(), pixels(2400));
    EXPECT_EQ(line->geometry().width(), pixels(4200));
    EXPECT_EQ(line->geometry().center().y(), pixels(5040));
    for (QWidget* widget : {view.widget<QWidget>(form.lblPath), view.widget<QWidget>(form.cmdOk)})
        EXPECT_EQ(widget->parentWidget(), view.window());
}

TEST_F(QtFormPeerTest, LabelShowsAnAmpersandAsWritten) {
    QtTestForm form(ui);
    form.Load();
    auto* label = QtView(backend, form).widget<QLabel>(form.lblPath);
    EXPECT_EQ(label->text(), "/home/user/A & B");
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_FALSE(label->wordWrap());
    auto* notes = QtView(backend, form).widget<QLabel>(form.lblNotes);
    EXPECT_EQ(notes->text(), "One line\nanother line");
    EXPECT_TRUE(notes->wordWrap());
}

TEST_F(QtFormPeerTest, ButtonAmpersandIsItsAccessKey) {
    QtTestForm form(ui);
    form.Show();
    auto* button = QtView(backend, form).widget<QPushButton>(form.cmdOk);
    EXPECT_EQ(button->text(), "&OK");
    EXPECT_EQ(QKeySequence::mnemonic(button->text()), QKeySequence(Qt::ALT | Qt::Key_O));
    ASSERT_TRUE(QTest::qWaitForWindowActive(QtView(backend, form).window()));
    QTest::keyClick(QtView(backend, form).window(), Qt::Key_O, Qt::AltModifier);
    serveFor(300);  // a mnemonic presses the button for a moment
    EXPECT_EQ(form.okClicks, 1);
}

TEST_F(QtFormPeerTest, ControlsInAFrameOrPictureAreItsChildren) {
    QtTestForm form(ui);
    form.Load();
    QtView view(backend, form);
    auto* frame = view.widget<QGroupBox>(form.fraMode);
    EXPECT_EQ(frame->title(), "Choose Mode");
    auto* full = view.widget<QRadioButton>(form.optFull);
    EXPECT_EQ(full->parentWidget(), frame);
    EXPECT_EQ(full->geometry(), px(240, 360, 2000, 255));
    EXPECT_EQ(view.widget<QRadioButton>(form.optQuick)->geometry(), px(240, 840, 2000, 255));
    auto* picture = view.widget<qt::PictureWidget>(form.picBanner);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->picture(), "banner");
    auto* onPicture = view.widget<QLabel>(form.lblOnPicture);
    EXPECT_EQ(onPicture->parentWidget(), picture);
    EXPECT_EQ(onPicture->geometry(), px(60, 60, 1200, 255));
}

TEST_F(QtFormPeerTest, ControlsOnATabPageArePlacedRelativeToTheTabControl) {
    QtTestForm form(ui);
    form.Load();
    QtView view(backend, form);
    auto* tabs = view.widget<QTabWidget>(form.tabMain);
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(1), "Scan");
    auto* label = view.widget<QLabel>(form.lblOnScan);
    EXPECT_EQ(label->parentWidget(), tabs->widget(1));
    // Before the window is shown, the page origin comes from the style.
    const QPoint origin = static_cast<qt::TabStrip*>(tabs)->pageOrigin();
    EXPECT_GT(origin.y(), 10);
    EXPECT_EQ(label->pos() + origin, QPoint(pixels(360), pixels(720)));

    form.Show();
    tabs->setCurrentIndex(1);
    serveFor(30);
    EXPECT_EQ(label->mapTo(tabs, QPoint(0, 0)), QPoint(pixels(360), pixels(720)));
    EXPECT_EQ(view.widget<QPushButton>(form.cmdScan)->mapTo(tabs, QPoint(0, 0)),
              QPoint(pixels(3000), pixels(1320)));
    EXPECT_EQ(label->size(), QSize(pixels(2415), pixels(255)));
}

TEST_F(QtFormPeerTest, ShownWindowIsCentredAndActive) {
    QtTestForm form(ui);
    form.Show();
    QWidget* window = QtView(backend, form).window();
    EXPECT_TRUE(window->isVisible());
    const QPoint centre = window->screen()->availableGeometry().center();
    EXPECT_LE((window->geometry().center() - centre).manhattanLength(), 40);
    EXPECT_EQ(form.activations, 1);
    EXPECT_EQ(ui.activeForm(), &form);
    form.Hide();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(QtFormPeerTest, CloseIsIgnoredWithoutACloseCommand) {
    QtTestForm form(ui, {.closeCommand = false});
    form.Show();
    QWidget* window = QtView(backend, form).window();
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(form.queryUnloads, 0);
    EXPECT_TRUE(form.loaded());
}

TEST_F(QtFormPeerTest, CloseRequestGoesToTheFormWhichMayCancelAndHide) {
    QtTestForm form(ui);
    form.cancelUnload = true;
    form.Show();
    QWidget* window = QtView(backend, form).window();
    EXPECT_FALSE(window->close());
    EXPECT_EQ(form.queryUnloads, 1);
    EXPECT_EQ(form.unloads, 0);
    EXPECT_TRUE(form.loaded());
    EXPECT_FALSE(form.visible());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(QtFormPeerTest, CloseRequestUnloadsTheFormAndItsWindowGoes) {
    QtTestForm form(ui);
    form.Show();
    QPointer<QWidget> window = QtView(backend, form).window();
    window->close();
    EXPECT_EQ(form.queryUnloads, 1);
    EXPECT_EQ(form.unloads, 1);
    EXPECT_FALSE(form.loaded());
    EXPECT_EQ(backend.peerOf(form), nullptr);
    serveFor(10);
    EXPECT_TRUE(window.isNull());
    // Loaded again, the form gets a fresh window.
    form.Show();
    EXPECT_EQ(form.loads, 2);
    EXPECT_TRUE(QtView(backend, form).window()->isVisible());
}

TEST_F(QtFormPeerTest, UnloadFromAClickHandlerIsSafe) {
    QtTestForm form(ui);
    form.cmdOk.onClick = [&form] { form.Unload(); };
    form.Show();
    QtView(backend, form).widget<QPushButton>(form.cmdOk)->click();
    EXPECT_FALSE(form.loaded());
    serveFor(10);
}

TEST_F(QtFormPeerTest, DestroyingALoadedFormIsSafe) {
    QPointer<QWidget> window;
    {
        QtTestForm form(ui);
        form.Show();
        window = QtView(backend, form).window();
        form.lblPath.setCaption("pending");
    }
    serveFor(10);
    EXPECT_TRUE(window.isNull());
}

TEST_F(QtFormPeerTest, ActivationByTheUserRunsFormActivate) {
    QtTestForm first(ui, {}, "frmfirst");
    QtTestForm second(ui, {}, "frmsecond");
    first.Show();
    second.Show();
    serveFor(120);
    EXPECT_EQ(ui.activeForm(), &second);
    const int before = first.activations;
    QWidget* window = QtView(backend, first).window();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    serveFor(120);
    EXPECT_EQ(first.activations, before + 1);
    EXPECT_EQ(ui.activeForm(), &first);
    // Activating the active window again is no new activation.
    window->activateWindow();
    serveFor(120);
    EXPECT_EQ(first.activations, before + 1);
}

TEST_F(QtFormPeerTest, FontsFollowTheDeclarationWithTheDesktopFamily) {
    QtTestForm form(ui);
    form.lblPath.font.family = "MS Sans Serif";
    form.Load();
    QtView view(backend, form);
    EXPECT_TRUE(view.widget<QGroupBox>(form.fraMode)->font().bold());
    // A bold frame does not make its contents bold.
    EXPECT_FALSE(view.widget<QRadioButton>(form.optFull)->font().bold());
    EXPECT_TRUE(view.widget<QLabel>(form.lblOnPicture)->font().bold());
    const QFont font = view.widget<QLabel>(form.lblPath)->font();
    EXPECT_EQ(font.family(), QApplication::font().family());
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 8.25);
}

TEST_F(QtFormPeerTest, LinkLabelLooksLikeALinkAndReportsClicks) {
    QtTestForm form(ui);
    form.Show();
    auto* link = QtView(backend, form).widget<QLabel>(form.lblLink);
    EXPECT_TRUE(link->font().underline());
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(form.linkClicks, 1);
    auto* plain = QtView(backend, form).widget<QLabel>(form.lblPath);
    EXPECT_FALSE(plain->font().underline());
    EXPECT_NE(plain->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(QtFormPeerTest, WhiteBackgroundLabelIsFilledWhite) {
    QtTestForm form(ui);
    form.Load();
    auto* label = QtView(backend, form).widget<QLabel>(form.lblOnPicture);
    EXPECT_TRUE(label->autoFillBackground());
    EXPECT_EQ(label->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_FALSE(QtView(backend, form).widget<QLabel>(form.lblPath)->autoFillBackground());
}

TEST_F(QtFormPeerTest, StatusBarShowsTheTimeOfDay) {
    QtTestForm form(ui);
    form.Load();
    auto* bar = QtView(backend, form).widget<QStatusBar>(form.sbrStatus);
    auto* time = bar->findChild<QLabel*>();
    ASSERT_NE(time, nullptr);
    const QString now = QLocale::system().toString(QTime::currentTime(), QLocale::ShortFormat);
    // The minute may have turned since the window was built.
    const QString before =
        QLocale::system().toString(QTime::currentTime().addSecs(-60), QLocale::ShortFormat);
    EXPECT_TRUE(time->text() == now || time->text() == before) << time->text().toStdString();
}

}  // namespace
}  // namespace tarnwk::test
