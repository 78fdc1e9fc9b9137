// Label churn: how long 300,000 label changes take through the Qt backend
// with doEvents between them, as a walk does for every file, against the
// bare loop and against serving the event loop for every change.
//
// Usage: tarnwk_qt_label_churn [changes]   (offscreen unless QT_QPA_PLATFORM is set)
#include <QApplication>
#include <QLabel>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/qt/QtFormPeer.h"
#include "platform/qt/QtUi.h"
#include "platform/ui.h"

namespace {

using namespace tarnwk;
using Clock = std::chrono::steady_clock;

class ScanLikeForm : public ui::Form {
public:
    explicit ScanLikeForm(ui::Ui& ui) : ui::Form(ui, "frmchurn", "Scanning...", 8250, 3285) {}
    ui::Label folder{*this, "Label3", {120, 360, 7335, 255}, "Label3"};
    ui::Label count{*this, "lblObjectsscannedcount", {480, 3000, 2175, 255}, "0 Objects scanned"};
};

double seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int changes = argc > 1 ? std::atoi(argv[1]) : 300000;

    qt::QtUi backend;
    ui::Ui ui(backend);
    ScanLikeForm form(ui);
    form.Show();
    backend.flushAll();
    QCoreApplication::processEvents();

    // One label changed, never served: what noting a change costs.
    auto start = Clock::now();
    for (int i = 1; i <= changes; ++i)
        form.count.setCaption(std::to_string(i) + " Objects scanned");
    const double bare = seconds(start);

    start = Clock::now();
    for (int i = 1; i <= changes; ++i) {
        form.folder.setCaption("/home/user/folder " + std::to_string(i));
        form.count.setCaption(std::to_string(i) + " Objects scanned");
        ui.doEvents();
    }
    const double backendSeconds = seconds(start);

    // As in a walk: some work per file (a busy 3 us stands in for reading a
    // folder entry and matching it), so the loop is served about every 20 ms.
    const auto work = [] {
        const auto until = Clock::now() + std::chrono::microseconds(3);
        while (Clock::now() < until) {
        }
    };
    start = Clock::now();
    for (int i = 1; i <= changes; ++i) work();
    const double workOnly = seconds(start);
    start = Clock::now();
    for (int i = 1; i <= changes; ++i) {
        work();
        form.folder.setCaption("/home/user/folder " + std::to_string(i));
        form.count.setCaption(std::to_string(i) + " Objects scanned");
        ui.doEvents();
    }
    const double walkLike = seconds(start);

    // For comparison: every change painted and every change serving the loop.
    QLabel* label = static_cast<QLabel*>(backend.peerOf(form)->objectOf(form.folder));
    start = Clock::now();
    for (int i = 1; i <= changes; ++i) {
        label->setText(QString::fromStdString("/home/user/folder " + std::to_string(i)));
        QCoreApplication::processEvents();
    }
    const double eager = seconds(start);

    std::printf("changes: %d (two labels each)\n", changes);
    std::printf("setCaption, no doEvents:    %.3f s\n", bare);
    std::printf("through the backend:        %.3f s  (%.0f ns per iteration)\n", backendSeconds,
                backendSeconds * 1e9 / changes);
    std::printf("3 us work per file alone:   %.3f s\n", workOnly);
    std::printf("work + labels + doEvents:   %.3f s  (%.1f%% more, about %.0f turns served)\n",
                walkLike, 100.0 * (walkLike - workOnly) / workOnly, walkLike / 0.020);
    std::printf("setText + processEvents:    %.3f s  (one label, for comparison)\n", eager);
    return 0;
}
