#pragma once

#include <QUrl>

#include "platform/platform.h"

namespace tarnwk::qt {

// Opens web addresses and documents with the desktop's default program.
class QtShell final : public platform::Shell {
public:
    void open(std::string_view address) override;
};

// What `open` hands to the desktop: a web address as it is, a local path as
// a file address.
QUrl shellUrl(std::string_view address);

}  // namespace tarnwk::qt
