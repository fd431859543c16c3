#pragma once
// Conversion through one iconv converter pair (code page <-> UTF-16LE).
// Opened once and reused; each call starts from the initial shift state.
#include <string>
#include <string_view>

#include "platform/win/kernel/BestFit.h"
#include "platform/win/kernel/Utf8Codec.h"

namespace win {

class IconvCodec {
 public:
  // Opens both directions for the iconv encoding name; valid() tells whether
  // that worked.
  explicit IconvCodec(const char* encoding);
  ~IconvCodec();
  IconvCodec(const IconvCodec&) = delete;
  IconvCodec& operator=(const IconvCodec&) = delete;

  bool valid() const;

  // Appends src as UTF-16. An invalid byte becomes 'replacement' (or fails
  // the call under InvalidInput::Fail); a truncated character at the end
  // becomes one replacement.
  bool decode(std::string_view src, InvalidInput invalid, char16_t replacement, std::u16string& out);

  // Appends src in the encoding; characters it cannot hold become their best
  // fit (with BestFit::Use) or else defaultChar, after returning to the
  // initial shift state. Returns whether the default was used.
  bool encode(std::u16string_view src, std::string_view defaultChar, BestFit bestFit, std::string& out);

 private:
  void* decoder_;
  void* encoder_;
};

}  // namespace win
