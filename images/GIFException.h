#pragma once
// The error class of the colour reduction code (and its messages): bitmaps
// it cannot read or make device-independent.
#include "platform/gui/Exception.h"

namespace images {

class GIFException : public gui::EInvalidGraphic {
 public:
  using gui::EInvalidGraphic::EInvalidGraphic;
};

}  // namespace images
