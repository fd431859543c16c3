#pragma once
// The library's built-in pictures: the 16 x 16 pictures shown for images that
// are still coming or could not be loaded, and the error picture's mask.
#include "platform/win/Types.h"

namespace engine {

constexpr int kErrorPictureResource = 1001;    // 4 bits per pixel
constexpr int kWaitingPictureResource = 1002;  // 4 bits per pixel
constexpr int kErrorMaskResource = 1005;       // 1 bit per pixel, white where transparent

// A new bitmap made from the resource; 0 for an unknown number. The caller owns it.
win::HBITMAP LoadEngineBitmap(int resourceId);

}  // namespace engine
