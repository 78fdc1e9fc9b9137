// A quick scan in the desktop program's scan window, on the real Qt backend,
// timed from Scan Now to the finished window. With HOME pointing at the
// benchmark tree this walks the same files as `tarnwk-scan TREE`.
// Usage: gui_scan DEFINITIONS   (run with QT_QPA_PLATFORM=offscreen)
#include <QApplication>
#include <chrono>
#include <clocale>
#include <cstdio>

#include "common/AppIdentity.h"
#include "common/Program.h"
#include "mainwindow/frmmain.h"
#include "platform/qt/DesktopServices.h"
#include "scan/ReferenceFile.h"
#include "scan/frmscan.h"

int main(int argc, char** argv) {
    using namespace tarnwk;
    if (argc != 2) {
        std::fprintf(stderr, "usage: gui_scan DEFINITIONS\n");
        return 2;
    }
    QApplication application(argc, argv);
    std::setlocale(LC_ALL, "");
    qt::DesktopServices services(kAppTitle);
    ui::Ui ui(services.qtUi);
    Program program(services.os, ui, services.files.programFolders().data, "http://localhost");
    program.setDefinitions(loadReferenceFile(services.files, services.qtUi, argv[1]));

    frmmain main(program);
    main.Show();
    main.optquickscan.setValue(true);
    const auto started = std::chrono::steady_clock::now();
    main.cmdstartscan_Click();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const frmscan* window = main.scanRun().scanWindow();
    std::printf("%.3f seconds; %s; %s\n", seconds,
                window ? window->lblObjectsscannedcount.caption().c_str() : "?",
                window ? window->lblAdwareFoundCount.caption().c_str() : "?");
    return 0;
}
