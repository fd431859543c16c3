#pragma once
// Box values (margins, paddings, borders, sizes, offsets) and background positions computed
// from a TProperties.
#include <array>

#include "engine/css/TProperties.h"

namespace engine {

// Properties 9 (background-color) to 36 (left); entry i holds property 9 + i.
constexpr int kFirstMarginProp = PropIdx(Prop::BackgroundColor);
constexpr int kMarginArraySize = 28;
using TVMarginArray = std::array<TPropValue, kMarginArraySize>;
using TBoxValues = std::array<int, kMarginArraySize>;
constexpr std::size_t BoxIndex(Prop p) { return static_cast<std::size_t>(PropIdx(p) - kFirstMarginProp); }

// Copies properties 9-36, the four side styles turned into border-style numbers.
void GetMarginArray(const TProperties& properties, TVMarginArray& margins);
// The border-style number of a side style value: its name read, 0 for anything but a text.
int BorderSideStyle(const TPropValue& value);

struct TBoxResult {
  TBoxValues Values{};
  int AutoCount = 0;           // auto margins and widths
  bool CollapseMargin = false;  // a vertical margin takes the collapsible paragraph gap
};

// All 28 values; lengths against the containing width (vertical ones against the height).
TBoxResult ComputeBoxValues(const TVMarginArray& margins, int containingWidth, int containingHeight, int em, int ex);
// Paddings only: a percentage as its negative share (-50 for 50%), -1 for an unset padding.
TBoxValues ComputePaddings(const TVMarginArray& margins, int em, int ex);
// Margins, border widths, width and height only.
TBoxResult ComputeMarginsAndSizes(const TVMarginArray& margins, int containingWidth, int containingHeight, int em,
                                  int ex);

// Background placement. x kinds: 1 centre, 3 left, 4 right, 5 percentage, 6 length;
// y kinds: 0 top, 1 centre, 2 bottom, 5 percentage, 6 length.
struct TBackgroundAxis {
  int PosType = 6;
  int Value = 0;
  bool RepeatD = true;
  bool Fixed = false;
};
struct TBackgroundPosition {
  TBackgroundAxis X;
  TBackgroundAxis Y;
};
TBackgroundPosition GetBackgroundPos(const TProperties& properties, int em, int ex);

}  // namespace engine
