// The user-interface seam: toolkit-free forms and controls, and the backend
// interface a toolkit implements.
#pragma once

#include "platform/ui/Control.h"
#include "platform/ui/Form.h"
#include "platform/ui/Ui.h"
