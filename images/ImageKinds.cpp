#include "images/ImageKinds.h"

#include <cstring>

#include "platform/gui/WholeFile.h"

namespace images {

namespace {

bool startsWith(const std::uint8_t* buffer, std::size_t size, const char* prefix, std::size_t length) {
  return size >= length && std::memcmp(buffer, prefix, length) == 0;
}

// DetectImageFileKind's rule: files of 9 bytes or fewer are not classified.
constexpr std::size_t kSmallestClassifiedFile = 10;

}  // namespace

TImageKind DetectImageKind(const std::uint8_t* Buffer, std::size_t Size) {
  if (!Buffer) return ikUnknown;
  // NOTE: "GIF8" alone (4 bytes) is GIF87a; the fifth byte decides 89a only when present.
  if (startsWith(Buffer, Size, "GIF8", 4)) return Size > 4 && Buffer[4] == '9' ? ikGif89a : ikGif87a;
  if (startsWith(Buffer, Size, "BM", 2)) return ikBmp;
  if (startsWith(Buffer, Size, "\x89PNG", 4)) return ikPng;
  if (startsWith(Buffer, Size, "\xFF\xD8", 2)) return ikJpeg;
  return ikUnknown;
}

// Only a file that would be read as an image is classified: a regular file
// within the image size limit.
TImageKind DetectImageFileKind(const std::string& FileName) {
  const gui::TRegularFile file(FileName, gui::TFileKind::Image);
  if (!file.Valid() || file.Size() < kSmallestClassifiedFile) return ikUnknown;
  std::uint8_t head[kSmallestClassifiedFile] = {};
  if (file.ReadAt(0, head, sizeof head) != sizeof head) return ikUnknown;
  return DetectImageKind(head, sizeof head);
}

}  // namespace images
