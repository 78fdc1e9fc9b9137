#include "platform/qt/DesktopServices.h"

#include "app/AppIdentity.h"
#include "platform/posix/ConfigHome.h"

namespace tarnwk::qt {

DesktopServices::DesktopServices()
    : settings(posix::configHome()),
      startup(posix::configHome(), std::string(kAppTitle), files.executablePath()) {}

}  // namespace tarnwk::qt
