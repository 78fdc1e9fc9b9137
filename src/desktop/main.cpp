// tarnwk: the desktop program.
#include "desktop/DesktopProgram.h"

int main(int argc, char** argv) {
    return tarnwk::runDesktopProgram(argc, argv);
}
