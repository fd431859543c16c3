#include "engine/common/CodePageText.h"

#include "engine/common/EngineStartup.h"
#include "platform/win/kernel/CodePages.h"
#include "platform/win/kernel/Utf8Codec.h"
#include "platform/win/kernel/Windows1252Codec.h"

namespace engine {
namespace {

constexpr int kWindows1252CodePage = 1252;

// MultiByteToWideChar into the end of out; false (out unchanged) on failure,
// which with MB_ERR_INVALID_CHARS includes bytes the code page rejects.
bool AppendConverted(win::UINT codePage, win::DWORD flags, std::string_view text, std::u16string& out) {
  const int length = static_cast<int>(text.size());
  const std::size_t start = out.size();
  // One character per byte is enough for nearly every code page; ask for the
  // real size only when it is not.
  out.resize(start + text.size());
  int written = win::MultiByteToWideChar(codePage, flags, text.data(), length,
                                         reinterpret_cast<win::WCHAR*>(out.data() + start), length);
  if (written <= 0) {
    const int needed = win::MultiByteToWideChar(codePage, flags, text.data(), length, nullptr, 0);
    if (needed > length) {
      out.resize(start + static_cast<std::size_t>(needed));
      written = win::MultiByteToWideChar(codePage, flags, text.data(), length,
                                         reinterpret_cast<win::WCHAR*>(out.data() + start), needed);
    }
  }
  out.resize(start + static_cast<std::size_t>(written > 0 ? written : 0));
  return written > 0;
}

}  // namespace

bool DecodesAsWindows1252(int codePage) {
  return codePage == kWindows1252CodePage || (codePage == static_cast<int>(win::CP_ACP) && win::GetACP() == 1252);
}

void AppendWideByCodePage(int codePage, std::string_view text, std::u16string& out) {
  if (text.empty()) return;
  if (codePage == kUtf8CodePage && IsWin95) {
    // The first 9x release has no UTF-8 code page: the engine decodes itself.
    win::decodeUtf8(text, win::InvalidInput::Replace, out);
    return;
  }
  if (DecodesAsWindows1252(codePage)) {
    // Every byte has a character here, so the converter cannot fail; decoding
    // straight into out saves its look-up, scratch buffer and copy per text run.
    win::decodeWindows1252(text, out);
    return;
  }
  // Text the code page rejects is read in the ANSI code page instead; what
  // even that cannot map becomes its default character.
  if (!AppendConverted(static_cast<win::UINT>(codePage), win::MB_ERR_INVALID_CHARS, text, out))
    AppendConverted(win::CP_ACP, 0, text, out);
}

std::u16string StringToWideByCodePage(int codePage, std::string_view text) {
  std::u16string wide;
  AppendWideByCodePage(codePage, text, wide);
  return wide;
}

std::string WideToStringByCodePage(int codePage, std::u16string_view text) {
  std::string narrow;
  if (text.empty()) return narrow;
  if (codePage == kUtf8CodePage) {
    win::encodeUtf8(text, win::InvalidInput::Replace, narrow);
    return narrow;
  }
  const int length = static_cast<int>(text.size());
  const auto* source = reinterpret_cast<const win::WCHAR*>(text.data());
  narrow.resize(text.size() * 3);
  const int room = static_cast<int>(narrow.size());
  int written = win::WideCharToMultiByte(static_cast<win::UINT>(codePage), 0, source, length, narrow.data(), room,
                                         nullptr, nullptr);
  if (written <= 0) {
    written = win::WideCharToMultiByte(win::CP_ACP, 0, source, length, narrow.data(), room, nullptr, nullptr);
  }
  narrow.resize(static_cast<std::size_t>(written > 0 ? written : 0));
  return narrow;
}

int CharByteLength(int codePage, std::string_view text) {
  if (text.empty() || text[0] == '\0') return 0;
  if (codePage == kUtf8CodePage) {
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead >= 0xC0 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF7) return 4;
    return 1;
  }
  // Only a lead byte with a following byte makes a two-byte character; the
  // view need not be zero-terminated.
  if (text.size() >= 2 && text[1] != '\0' && win::IsDBCSLeadByteEx(static_cast<win::UINT>(codePage),
                                                                   static_cast<win::BYTE>(text[0]))) {
    return 2;
  }
  return 1;
}

int Utf8DecodedLength(std::string_view text) {
  if (text.empty()) return 0;
  const auto lead = static_cast<unsigned char>(text[0]);
  int length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no encoded surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 1;
  }
  // A broken sequence is replaced as far as it is a valid beginning.
  int read = 1;
  for (; read < length && static_cast<std::size_t>(read) < text.size(); ++read) {
    const auto next = static_cast<unsigned char>(text[static_cast<std::size_t>(read)]);
    if (next < low || next > high) break;
    low = 0x80;
    high = 0xBF;
  }
  return read;
}

}  // namespace engine
