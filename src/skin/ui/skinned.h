#pragma once
// The whole kit in one include: the frame and its style mechanism, the panels, check
// boxes and radio buttons, side channel, pop-up notice, memos, tab control, spinner and
// the input and password dialogs.

#include "skin/core/ui_style.h"
#include "skin/ui/check_box.h"
#include "skin/ui/input_dialogs.h"
#include "skin/ui/look.h"
#include "skin/ui/memo.h"
#include "skin/ui/panel.h"
#include "skin/ui/pop_form.h"
#include "skin/ui/side_channel.h"
#include "skin/ui/spin_edit.h"
#include "skin/ui/tab_control.h"
#include "skin/ui/theme_manager.h"
