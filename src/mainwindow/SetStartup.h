#pragma once

#include "platform/platform.h"

namespace tarnwk {

// Registers the running program to start at login (true) or removes the
// registration (false). A failure is not reported: the registration follows
// the stored preference again the next time the preferences are loaded.
inline void SetStartup(platform::LoginStartup& startup, bool blnSet) {
    (void)startup.setRegistered(blnSet);
}

}  // namespace tarnwk
