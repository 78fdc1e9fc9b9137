// The program's pictures, drawn from the SVG sources bundled with it.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <string_view>

namespace tarnwk::qt {

// True when the named picture ("icon", "banner", "about", "splash") exists.
bool hasArtwork(std::string_view name);

// The named picture drawn to fit `size` (logical pixels) with its proportions
// kept and centred, sharp at `devicePixelRatio`; a transparent pixmap when
// the name is unknown.
QPixmap artwork(std::string_view name, QSize size, qreal devicePixelRatio);

// The named picture as a window or tray icon, in the usual icon sizes.
QIcon artworkIcon(std::string_view name);

}  // namespace tarnwk::qt
