#pragma once
// The CSS property values of one element, one style rule or one style attribute.
#include <cstdint>
#include <string>

namespace engine {

class TProperties {
 public:
  TProperties();
  ~TProperties();
  TProperties(const TProperties&) = delete;
  TProperties& operator=(const TProperties&) = delete;

  // Code page and charset of the text under this element.
  int CodePage = 1252;
  std::uint8_t Charset = 1;
};

}  // namespace engine
