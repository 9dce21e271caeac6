// Everything of the window layer in one include.
#pragma once

#include "platform/ui/application.h"
#include "platform/ui/canvas.h"
#include "platform/ui/chart_view.h"
#include "platform/ui/control.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form.h"
#include "platform/ui/image.h"
#include "platform/ui/list_view.h"
#include "platform/ui/menu.h"
#include "platform/ui/page_control.h"
#include "platform/ui/timer.h"
#include "platform/ui/tool_bar.h"
#include "platform/ui/tray_icon.h"
#include "platform/ui/types.h"
