#pragma once

#include "platform/Terminal.h"

namespace tarnwk::posix {

class PosixTerminal final : public platform::Terminal {
public:
    bool errorIsTerminal() override;
    int width() override;
};

}  // namespace tarnwk::posix
