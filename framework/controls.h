#pragma once
// Controls: the objects a window holds by name. Each drives a Qt widget and
// keeps the application's view of it (texts with carriage returns, positions
// in window coordinates). Events reach typed handler slots; a handler's true
// means handled and ends the event. One header per control class, in
// framework/controls/; this one gathers them.

#include "framework/controls/canvas.h"
#include "framework/controls/control.h"
#include "framework/controls/label.h"
#include "framework/controls/push_button.h"
#include "framework/controls/rect_control.h"
#include "framework/controls/text_area.h"
#include "framework/controls/text_field.h"
#include "framework/controls/timer.h"
