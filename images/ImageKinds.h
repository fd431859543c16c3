#pragma once
// Image kinds told from a file's first bytes, and how an image's
// transparency mask came about (kept with loaded images and cache entries).
#include <cstddef>
#include <cstdint>
#include <string>

namespace images {

enum TImageKind : std::uint8_t { ikUnknown, ikBmp, ikGif87a, ikGif89a, ikPng, ikJpeg };

enum TMaskKind : std::uint8_t {
  mkNone,         // opaque, no mask
  mkCornerColor,  // mask of the pixels coloured like the lower-left one
  mkSourceMask,   // the mask came with the image (GIF transparency, a host's colour)
  mkKeyColor,     // a PNG palette colour with alpha 0; black under the mask
};

// The kind by signature: "GIF8" (then "9" at byte 4 for 89a), "BM",
// 89 50 4E 47, FF D8. Only the first Size bytes are read: data too short for
// a signature is ikUnknown.
TImageKind DetectImageKind(const std::uint8_t* Buffer, std::size_t Size);
// ikUnknown when the file is missing, is a folder or holds 9 bytes or fewer.
// Reads only the bytes it needs.
TImageKind DetectImageFileKind(const std::string& FileName);

}  // namespace images
