// The Qt tests run on the offscreen platform unless told otherwise, also
// when CMake lists them at build time.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwick"));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
