#pragma once

#include "platform/ui.h"

namespace tarnwk {

// The busy mouse pointer for the time of one long operation; the default
// pointer comes back at release() or when the operation leaves early.
class BusyPointer {
public:
    explicit BusyPointer(ui::Ui& ui) : ui_(ui) { ui_.setBusy(true); }
    ~BusyPointer() { release(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

    void release() {
        if (!busy_) return;
        busy_ = false;
        ui_.setBusy(false);
    }

private:
    ui::Ui& ui_;
    bool busy_ = true;
};

}  // namespace tarnwk
