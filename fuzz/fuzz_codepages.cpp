// Decodes arbitrary bytes in a code page chosen by the first byte, strictly
// and leniently, and encodes the result back; nothing may crash or read past
// the input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win/kernel/CodePages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const win::UINT kCodePages[] = {1252, 65001, 1200, 1201, 1250, 1251, 1255, 1258, 874,   932,   936,
                                         949,  950,   20932, 50220, 50221, 28591, 28605, 20866, 437, 10000, 65000};
  if (size < 1) return 0;
  const win::UINT codePage = kCodePages[data[0] % (sizeof kCodePages / sizeof kCodePages[0])];
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::u16string wide = win::multiByteToWide(codePage, bytes);
  (void)win::wideToMultiByte(codePage, wide);
  if (!bytes.empty()) {
    std::vector<win::WCHAR> out(bytes.size() + 1);
    win::MultiByteToWideChar(codePage, win::MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                             out.data(), static_cast<int>(out.size()));
    // Random code units, including unpaired surrogates, back into the code page.
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
      units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    (void)win::wideToMultiByte(codePage, units);
  }
  return 0;
}
