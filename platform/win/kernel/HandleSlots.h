#pragma once
// The handle table behind kernel and window-system handles (global memory,
// windows, cursors). HandleTable.h places every object after the first one
// past the end of its slot list, so these handles use the drawing layer's
// table, which keeps the same contract (generation-checked 32-bit handles,
// 0 never issued).
#include "platform/win/gdi/GdiObjectTable.h"

namespace win {

template <typename Object>
using HandleSlots = GdiObjectTable<Object>;

}  // namespace win
