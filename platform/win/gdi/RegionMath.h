#pragma once
// Region helpers shared by the region calls and the drawing code.
#include <vector>

#include "platform/win/Types.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/Region.h"

namespace win {

// The union of any number of rectangles, in any order.
Region unionOfRects(const std::vector<RECT>& rects);

// A logical-unit region in the DC's device units.
Region regionToDevice(const DeviceContext& dc, const Region& logical);

// The pixels within `width` x `height` of the region's edge, inside it.
Region regionFrame(const Region& region, int width, int height);

}  // namespace win
