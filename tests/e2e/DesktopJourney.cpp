// Drives the real desktop program under a real X server the way a person
// would: Scan tab, Quick Scan, Scan Now, mark the finding, Quarantine, Exit,
// then close the main window and confirm the end. With TARNWK_SCREENSHOTS
// set to a folder, it also leaves pictures of every window there.
#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "desktop/DesktopProgram.h"

namespace {

QWidget* visibleWindow(const char* name) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == name && window->isVisible()) return window;
    return nullptr;
}

template <typename Widget>
Widget* control(const char* window, const char* name) {
    QWidget* top = visibleWindow(window);
    return top ? top->findChild<Widget*>(name) : nullptr;
}

[[noreturn]] void fail(const QString& why) {
    std::fprintf(stderr, "journey: %s\n", qPrintable(why));
    std::_Exit(3);
}

void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

void screenshot(const char* window, const char* file) {
    const QString folder = qEnvironmentVariable("TARNWK_SCREENSHOTS");
    QWidget* top = visibleWindow(window);
    if (folder.isEmpty() || !top) return;
    settle();
    top->grab().save(folder + "/" + file);
}

void click(QWidget* widget, const char* what) {
    if (!widget || !widget->isVisible() || !widget->isEnabled())
        fail(QString("cannot click ") + what);
    QTest::mouseClick(widget, Qt::LeftButton);
}

// Confirms the next modal message box with OK.
void confirmNextMessage() {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [timer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        std::fprintf(stderr, "journey: confirming \"%s\"\n", qPrintable(box->text()));
        timer->stop();
        box->button(QMessageBox::Ok)->click();
    });
    timer->start(100);
}

// Steps run in order; each returns false while what it waits for is not
// there yet. A step may block in a nested event loop (a scan), so ticks that
// come meanwhile are ignored.
class Journey {
public:
    void add(std::function<bool()> step) { steps_.push_back(std::move(step)); }
    void start() {
        auto* timer = new QTimer(qApp);
        QObject::connect(timer, &QTimer::timeout, [this] { tick(); });
        timer->start(100);
    }

private:
    void tick() {
        if (running_ || next_ >= steps_.size()) return;
        if (++waited_ > 600) fail(QString("step %1 waited a minute").arg(next_));
        running_ = true;
        const bool done = steps_[next_]();
        running_ = false;
        if (done) {
            ++next_;
            waited_ = 0;
        }
    }
    std::vector<std::function<bool()>> steps_;
    std::size_t next_ = 0;
    int waited_ = 0;
    bool running_ = false;
};

const char* const kTabPictures[] = {"main-status.png",  "main-scan.png",     "main-quarantine.png",
                                    "main-updates.png", "main-settings.png", "main-about.png"};

void planJourney(Journey& journey) {
    journey.add([] {
        if (!visibleWindow("frmSplash")) return false;
        screenshot("frmSplash", "splash.png");
        return true;
    });
    journey.add([] { return visibleWindow("frmmain") && !visibleWindow("frmSplash"); });
    journey.add([] {
        auto* tabs = control<QTabWidget>("frmmain", "SSTab1");
        if (!tabs) fail("no tab control");
        for (int tab = 0; tab < tabs->count(); ++tab) {
            QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {},
                              tabs->tabBar()->tabRect(tab).center());
            screenshot("frmmain", kTabPictures[tab]);
        }
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(1).center());
        settle();
        click(control<QRadioButton>("frmmain", "optquickscan"), "Quick Scan");
        settle();
        if (!control<QRadioButton>("frmmain", "optquickscan")->isChecked() ||
            control<QRadioButton>("frmmain", "optfullscan")->isChecked())
            fail("Quick Scan is not the chosen mode");
        // A picture while the walk runs, from inside its event loop.
        QTimer::singleShot(100, [] { screenshot("frmscan", "scan-running.png"); });
        // Returns when the scan is over.
        click(control<QPushButton>("frmmain", "cmdstartscan"), "Scan Now");
        return true;
    });
    journey.add([] {
        QWidget* scan = visibleWindow("frmscan");
        if (!scan || scan->windowTitle() != "Scan Complete") return false;
        auto* list = control<QListWidget>("frmscan", "lstadware");
        if (!list || list->count() != 1) fail("expected one finding");
        std::fprintf(stderr, "journey: found \"%s\"\n", qPrintable(list->item(0)->text()));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        screenshot("frmscan", "scan-complete.png");
        click(control<QPushButton>("frmscan", "cmdquarantine"), "Quarantine");
        settle();
        if (list->count() != 0) fail("the quarantined finding is still listed");
        click(control<QPushButton>("frmscan", "cmdExit"), "Exit");
        return true;
    });
    journey.add([] {
        if (visibleWindow("frmscan") || !visibleWindow("frmmain")) return false;
        // No notification area here: closing the main window asks to end.
        confirmNextMessage();
        visibleWindow("frmmain")->close();
        return true;
    });
}

}  // namespace

int main(int argc, char** argv) {
    Journey journey;
    return tarnwk::runDesktopProgram(argc, argv, [&journey] {
        planJourney(journey);
        journey.start();
    });
}
