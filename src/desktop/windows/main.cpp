// tarnwk.exe: the desktop program, a Windows program without a console.
#include <windows.h>

#include "desktop/DesktopProgram.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return tarnwk::runDesktopProgram(0, nullptr);
}
