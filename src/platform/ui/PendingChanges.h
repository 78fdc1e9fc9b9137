#pragma once

#include <utility>

#include "platform/ui/Control.h"

namespace tarnwk::ui {

constexpr unsigned changeBit(Change change) {
    return 1u << static_cast<unsigned>(change);
}

// The changes a backend's control has been told of but not yet applied to
// its widget. Backends apply them when they next serve events, so a walk
// that rewrites a label for every file costs a bit-or per change, not a
// repaint. Changes to what a hidden control shows wait until it is shown: a
// hidden list may hold the whole definitions list and never needs its rows.
class PendingChanges {
public:
    static constexpr unsigned kAll = ~0u;

    // Adds `changes`; true when nothing was pending, so the caller tells its
    // form there is work for the next turn.
    bool note(unsigned changes) {
        const bool first = pending_ == 0;
        pending_ |= changes;
        return first;
    }
    // What is pending, taken.
    unsigned take() { return std::exchange(pending_, 0u); }
    // Everything, as for a new widget, which also covers what was held.
    unsigned takeAll() {
        pending_ = 0;
        held_ = 0;
        return kAll;
    }
    // Of `changes`, what a control that is now `visible` applies at once: a
    // hidden control holds back changes to its content, and gets them when
    // it is shown again.
    unsigned forVisibility(unsigned changes, bool visible) {
        if (!visible) {
            held_ |= changes & kContent;
            return changes & ~kContent;
        }
        if (changes & changeBit(Change::Visible)) changes |= std::exchange(held_, 0u);
        return changes;
    }

private:
    // Visibility and enabling always go through.
    static constexpr unsigned kContent = changeBit(Change::Caption) | changeBit(Change::Value) |
                                         changeBit(Change::Items) | changeBit(Change::Selection) |
                                         changeBit(Change::Tab);
    unsigned pending_ = 0;
    unsigned held_ = 0;
};

}  // namespace tarnwk::ui
