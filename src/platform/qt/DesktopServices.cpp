#include "platform/qt/DesktopServices.h"

#include "platform/posix/ConfigHome.h"

namespace tarnwk::qt {

DesktopServices::DesktopServices(std::string_view title)
    : settings(posix::configHome()),
      startup(posix::configHome(), std::string(title), files.executablePath()) {}

}  // namespace tarnwk::qt
