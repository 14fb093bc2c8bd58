// Reports the last system error: its text in a box titled "エラー" (stop icon, OK) and on the
// status line.
#pragma once

#include "host/core/ui/user_interface.h"

namespace host {

void ShowSystemError(UserInterface& ui);

}  // namespace host
