#pragma once
// TOptionObj: one OPTION of a SELECT: its display text, the value it submits
// and whether it starts selected.
#include <string>

namespace engine {

struct TOptionObj {
  std::string Text;  // display text, 8-bit in the element's code page
  std::string Value;
  bool Selected = false;
};

}  // namespace engine
