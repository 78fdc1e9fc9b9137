#pragma once

#include "platform/ui.h"

namespace tarnwk {

// Shown while a reference file downloads; it cannot be closed by the user.
class frmprogress final : public ui::Form {
public:
    explicit frmprogress(ui::Ui& ui)
        : ui::Form(ui, "frmprogress", "Downloading Update", 4425, 1020, {.closeCommand = false}),
          Label1(*this, "Label1", {1200, 360, 1695, 255}, "Downloading Update") {}

    ui::Label Label1;
};

}  // namespace tarnwk
