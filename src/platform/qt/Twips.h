// Design positions are in twips: 15 to a logical pixel, which Qt scales to
// the screen itself.
#pragma once

#include <QRect>
#include <cmath>

#include "platform/ui.h"

namespace tarnwk::qt {

inline int pixels(int twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}

inline QRect pixelRect(const ui::Twips& twips) {
    return {pixels(twips.left), pixels(twips.top), pixels(twips.width), pixels(twips.height)};
}

}  // namespace tarnwk::qt
