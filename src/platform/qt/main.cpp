// tarnwk: the desktop program.
#include "platform/qt/DesktopProgram.h"

int main(int argc, char** argv) {
    return tarnwk::qt::runDesktopProgram(argc, argv);
}
