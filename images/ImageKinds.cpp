#include "images/ImageKinds.h"

#include <cstring>
#include <fstream>
#include <sys/stat.h>

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

TImageKind DetectImageFileKind(const std::string& FileName) {
  struct stat info {};
  if (::stat(FileName.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return ikUnknown;
  if (static_cast<std::size_t>(info.st_size) < kSmallestClassifiedFile) return ikUnknown;
  std::ifstream in(FileName, std::ios::binary);
  std::uint8_t head[kSmallestClassifiedFile] = {};
  in.read(reinterpret_cast<char*>(head), sizeof head);
  if (in.gcount() != static_cast<std::streamsize>(sizeof head)) return ikUnknown;
  return DetectImageKind(head, sizeof head);
}

}  // namespace images
