#pragma once
// Box values converted from a shared margin array, remembered per array, containing size
// and font size. A layout converts every block's values, and blocks of one kind under
// one container ask the same question: the string lengths are parsed once per answer.
#include "engine/css/CssBoxValues.h"
#include "engine/css/TSharedMarginArray.h"

namespace engine {

// Converted box values are kept within this many pixels either way, so that
// sums of several of them cannot wrap.
constexpr int kMaxBoxValue = 1000000;

// ComputeBoxValues of margins, every length that is not auto clamped to kMaxBoxValue.
const TBoxResult& ClampedBoxValues(const TSharedMarginArray& margins, int containingWidth, int containingHeight,
                                   int em, int ex);
// ComputePaddings of margins, remembered the same way (table cells of one kind ask alike).
const TBoxValues& PaddingValues(const TSharedMarginArray& margins, int em, int ex);
// Forgets every remembered answer and the arrays it holds; for tests and fuzz targets.
void ForgetBoxValues();

}  // namespace engine
