#pragma once
// The one error class of the GDI+ wrapper and of the image drawing code that
// uses it: raised by the wrapper's constructors and by the image size
// queries; the drawing operations catch it and draw nothing.
#include "platform/gui/Exception.h"

namespace images {

class EGDIPlus : public gui::Exception {
 public:
  using gui::Exception::Exception;
};

}  // namespace images
