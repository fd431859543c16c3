#pragma once
// The handle table behind kernel and window-system handles (global memory,
// windows, cursors): generation-checked 32-bit handles, 0 never issued.
#include "platform/win/HandleTable.h"

namespace win {

template <typename Object>
using HandleSlots = HandleTable<Object>;

}  // namespace win
