#pragma once
// EProcessError: a section could not be laid out. The cell that lays it out
// reports it once and goes on with the rest of the document.
#include "platform/gui/Exception.h"

namespace engine {

class EProcessError : public gui::Exception {
 public:
  using gui::Exception::Exception;
};

}  // namespace engine
