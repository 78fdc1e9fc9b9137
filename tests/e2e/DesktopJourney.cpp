// Drives the real desktop program under a real X server the way a person
// would: Scan tab, Quick Scan, Scan Now, mark the finding, Quarantine, Exit,
// then close the main window and confirm the end. With TARNWK_SCREENSHOTS
// set to a folder, it also leaves pictures of every window there.
#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "desktop/DesktopProgram.h"

namespace {

[[noreturn]] void fail(const QString& why) {
    std::fprintf(stderr, "journey: %s\n", qPrintable(why));
    std::_Exit(3);
}

QWidget* visibleWindow(const char* name) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == name && window->isVisible()) return window;
    return nullptr;
}

template <typename Widget = QWidget>
Widget* control(const char* window, const char* name) {
    QWidget* top = visibleWindow(window);
    Widget* found = top ? top->findChild<Widget*>(name) : nullptr;
    if (!found) fail(QString("no %1 in %2").arg(name, window));
    return found;
}

void screenshot(const char* window, const char* file) {
    const QString folder = qEnvironmentVariable("TARNWK_SCREENSHOTS");
    if (folder.isEmpty() || !visibleWindow(window)) return;
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    visibleWindow(window)->grab().save(folder + "/" + file);
}

void click(const char* window, const char* name) {
    QWidget* widget = control(window, name);
    if (!widget->isVisible() || !widget->isEnabled()) fail(QString("cannot click ") + name);
    QTest::mouseClick(widget, Qt::LeftButton);
    QApplication::processEvents();
}

// Serves events until `ready`, or gives up after a minute.
void waitFor(const char* what, const std::function<bool()>& ready) {
    if (!QTest::qWaitFor(ready, 60000)) fail(QString("waited a minute for ") + what);
}

// Calls `tick` every 100 ms until the program ends.
void every100ms(std::function<void()> tick) {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, std::move(tick));
    timer->start(100);
}

const char* const kTabPictures[] = {"main-status.png",  "main-scan.png",     "main-quarantine.png",
                                    "main-updates.png", "main-settings.png", "main-about.png"};

// Runs once the definitions are loaded, while the splash is still up.
void journey() {
    screenshot("frmSplash", "splash.png");
    waitFor("the splash to close", [] { return !visibleWindow("frmSplash"); });
    QTabBar* tabs = control<QTabWidget>("frmmain", "SSTab1")->tabBar();
    for (const int tab : {0, 1, 2, 3, 4, 5, 1}) {
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
        screenshot("frmmain", kTabPictures[tab]);
    }
    click("frmmain", "optquickscan");
    // A picture while the walk runs, from inside its event loop.
    QTimer::singleShot(100, [] { screenshot("frmscan", "scan-running.png"); });
    click("frmmain", "cmdstartscan");  // returns when the scan is over
    auto* list = control<QListWidget>("frmscan", "lstadware");
    if (list->window()->windowTitle() != "Scan Complete") fail("the scan did not finish");
    if (list->count() != 1) fail("expected one finding");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    screenshot("frmscan", "scan-complete.png");
    click("frmscan", "cmdquarantine");
    if (list->count() != 0) fail("the quarantined finding is still listed");
    click("frmscan", "cmdExit");
    waitFor("the main window",
            [] { return !visibleWindow("frmscan") && visibleWindow("frmmain"); });

    // No notification area here: closing the main window asks to end, and OK
    // ends the program.
    every100ms([] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Ok)->click();
    });
    visibleWindow("frmmain")->close();
    fail("the program did not end");
}

}  // namespace

int main(int argc, char** argv) {
    return tarnwk::runDesktopProgram(argc, argv, [] {
        // Polled from the program's own event loop, never from inside the
        // splash's loading.
        every100ms([started = false]() mutable {
            if (!started && visibleWindow("frmmain")) started = true, journey();
        });
    });
}
