#include "images/EPNGImageException.h"

namespace images {

std::string PngErrorMessage(const std::string& text) {
  return "Portable Network Graphics format handler error\r\n\r\n" + text;
}

void RaisePngError(const char* text) { throw EPNGImageException(PngErrorMessage(text)); }

}  // namespace images
