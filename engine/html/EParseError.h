#pragma once
// The error that ends a parse quietly; the parse entries catch it and keep
// what was built.
#include "platform/gui/Exception.h"

namespace engine {

class EParseError : public gui::Exception {
 public:
  using gui::Exception::Exception;
};

inline constexpr const char* kOpenCommentMessage = "Open Comment at End of HTML File";

}  // namespace engine
