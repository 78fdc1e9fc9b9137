#include "platform/posix/PosixTerminal.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace tarnwk::posix {

bool PosixTerminal::errorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

int PosixTerminal::width() {
    winsize size{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return 80;
    return size.ws_col;
}

}  // namespace tarnwk::posix
