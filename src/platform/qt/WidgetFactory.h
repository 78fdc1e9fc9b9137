// Builds the widget of each kind of control and routes what the user does
// with it to the control. Nothing here knows any particular form.
#pragma once

#include <QFont>
#include <QLabel>
#include <QWidget>

#include "platform/qt/ControlBinding.h"
#include "platform/ui.h"

namespace tarnwk::qt {

class QtFormPeer;

// Makes the binding's widget (or timer) as a child of `parent`, at the
// control's declared place; the caller applies the control's state.
void createWidget(QtFormPeer& peer, ControlBinding& binding, QWidget* parent);

// The widget that holds the controls placed in `container` (a frame, a
// picture box, or page `page` of a tab control).
QWidget* containerWidget(const ControlBinding& container, int page);

// The desktop's font at the declared size and weight. The old designer
// family "MS Sans Serif" means the desktop's own; other families are kept.
QFont controlFont(const ui::Font& font, bool link);

// Colours and pointer of a label: plain, white ground, or web link.
void styleLabel(QLabel* label, const ui::Control& control);

}  // namespace tarnwk::qt
