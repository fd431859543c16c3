#pragma once
// The PNG handler's exception and its message texts. Every raised message is
// "Portable Network Graphics format handler error", a blank line (CR LF CR LF)
// and one of the texts below.
#include <string>

#include "platform/gui/Exception.h"

namespace images {

class EPNGImageException : public gui::Exception {
 public:
  using gui::Exception::Exception;
};

inline constexpr const char* EPngInvalidColorType = "Could not read the image because it has an unknown color type.";
inline constexpr const char* EPngInvalidFilter =
    "The image could not be loaded because it uses an unknown set of filter types.";
inline constexpr const char* EPngUnknownInterlace = "The image has an unknown interlace method.";
inline constexpr const char* EPngUnknownCriticalChunk =
    "The currently being loaded image contains critical(s) chunk(s) not reconized by the decoder.";
inline constexpr const char* EPngNoPalette = "The current image requeries a palette but it is not avaliable.";
inline constexpr const char* EPngNotRgbTransparency =
    "Can not get transparency information because the current image color type is not RGB (value 3)";
inline constexpr const char* EPngChunkNotInList =
    "The especified chunk is not inside the chunk list containing the method being used. The funcion could not be "
    "completed.";
inline constexpr const char* EPngInvalidFileHeader =
    "Invalid Portable Graphics Network image, it has an invalid file header.";
inline constexpr const char* EPngIndexOutOfRange = "The chunk index especified is out of the range.";
inline constexpr const char* EPngClassIndexOutOfRange = "The chunk class index especified is  out of range.";
inline constexpr const char* EPngCorruptedData = "Can't read the PNG image, it has corrupted data. ";
inline constexpr const char* EPngNoIhdrFirst =
    "This PNG image is invalid, the IHDR chunk is either not present or it isn't the first chunk.";
inline constexpr const char* EPngNoImageData = "The current image being loaded has no data and could not be loaded.";
inline constexpr const char* EPngInvalidPalette = "The current image being loaded has an invalid palette!";

// The full message for one of the texts above.
std::string PngErrorMessage(const std::string& text);
// Raises EPNGImageException with PngErrorMessage(text).
[[noreturn]] void RaisePngError(const char* text);

}  // namespace images
