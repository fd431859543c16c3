#include "platform/win/kernel/CodePages.h"

#include <climits>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "platform/win/kernel/IconvCodec.h"
#include "platform/win/kernel/LastError.h"
#include "platform/win/kernel/Utf8Codec.h"
#include "platform/win/kernel/Windows1252Codec.h"

namespace win {
namespace {

enum class Method { Windows1252, Utf8, Utf16LE, Utf16BE, Iconv };

struct CodePageInfo {
  UINT number;
  Method method;
  const char* iconvName;      // for Method::Iconv
  char16_t defaultUnicode;    // what an invalid byte decodes to
};

constexpr char16_t kQuestionMark = u'?';
constexpr char16_t kKatakanaMiddleDot = 0x30FB;  // the Japanese code pages' default
constexpr char16_t kReplacementCharacter = 0xFFFD;

constexpr CodePageInfo kCodePages[] = {
    {1252, Method::Windows1252, nullptr, kQuestionMark},
    {65001, Method::Utf8, nullptr, kReplacementCharacter},
    {1200, Method::Utf16LE, nullptr, kReplacementCharacter},
    {1201, Method::Utf16BE, nullptr, kReplacementCharacter},
    {1250, Method::Iconv, "CP1250", kQuestionMark},
    {1251, Method::Iconv, "CP1251", kQuestionMark},
    {1253, Method::Iconv, "CP1253", kQuestionMark},
    {1254, Method::Iconv, "CP1254", kQuestionMark},
    {1255, Method::Iconv, "CP1255", kQuestionMark},
    {1256, Method::Iconv, "CP1256", kQuestionMark},
    {1257, Method::Iconv, "CP1257", kQuestionMark},
    {1258, Method::Iconv, "CP1258", kQuestionMark},
    {874, Method::Iconv, "CP874", kQuestionMark},
    {932, Method::Iconv, "CP932", kKatakanaMiddleDot},
    {936, Method::Iconv, "CP936", kQuestionMark},
    {949, Method::Iconv, "CP949", kQuestionMark},
    {950, Method::Iconv, "CP950", kQuestionMark},
    {20932, Method::Iconv, "EUC-JP", kKatakanaMiddleDot},
    {51932, Method::Iconv, "EUC-JP", kKatakanaMiddleDot},
    {50220, Method::Iconv, "ISO-2022-JP", kKatakanaMiddleDot},
    {50221, Method::Iconv, "ISO-2022-JP-3", kKatakanaMiddleDot},
    {50222, Method::Iconv, "ISO-2022-JP-3", kKatakanaMiddleDot},
    {28591, Method::Iconv, "ISO-8859-1", kQuestionMark},
    {28592, Method::Iconv, "ISO-8859-2", kQuestionMark},
    {28593, Method::Iconv, "ISO-8859-3", kQuestionMark},
    {28594, Method::Iconv, "ISO-8859-4", kQuestionMark},
    {28595, Method::Iconv, "ISO-8859-5", kQuestionMark},
    {28596, Method::Iconv, "ISO-8859-6", kQuestionMark},
    {28597, Method::Iconv, "ISO-8859-7", kQuestionMark},
    {28598, Method::Iconv, "ISO-8859-8", kQuestionMark},
    {28599, Method::Iconv, "ISO-8859-9", kQuestionMark},
    {28603, Method::Iconv, "ISO-8859-13", kQuestionMark},
    {28605, Method::Iconv, "ISO-8859-15", kQuestionMark},
    {20866, Method::Iconv, "KOI8-R", kQuestionMark},
    {21866, Method::Iconv, "KOI8-U", kQuestionMark},
    {437, Method::Iconv, "CP437", kQuestionMark},
    {850, Method::Iconv, "CP850", kQuestionMark},
    {866, Method::Iconv, "CP866", kQuestionMark},
    {10000, Method::Iconv, "MACINTOSH", kQuestionMark},
    {65000, Method::Iconv, "UTF-7", kReplacementCharacter},
};

UINT resolveAlias(UINT codePage) {
  switch (codePage) {
    case CP_ACP:
    case CP_THREAD_ACP: return 1252;
    case CP_OEMCP: return 437;
    case CP_MACCP: return 10000;
    default: return codePage;
  }
}

const CodePageInfo* findCodePage(UINT number) {
  for (const CodePageInfo& info : kCodePages)
    if (info.number == number) return &info;
  return nullptr;
}

// Converters live per thread (an iconv_t is not shareable), one per code page,
// including the failed ones so that a missing converter is not retried.
IconvCodec* iconvCodecFor(const CodePageInfo& info) {
  thread_local std::unordered_map<UINT, std::unique_ptr<IconvCodec>> codecs;
  auto& codec = codecs[info.number];
  if (!codec) codec = std::make_unique<IconvCodec>(info.iconvName);
  return codec->valid() ? codec.get() : nullptr;
}

// The code page's entry, if it exists and can be converted here.
const CodePageInfo* usableCodePage(UINT codePage) {
  const CodePageInfo* info = findCodePage(resolveAlias(codePage));
  if (info && info->method == Method::Iconv && !iconvCodecFor(*info)) return nullptr;
  return info;
}

bool decodeUtf16(std::string_view src, bool bigEndian, InvalidInput invalid, std::u16string& out) {
  const std::size_t units = src.size() / 2;
  out.reserve(out.size() + units + 1);
  for (std::size_t i = 0; i < units; ++i) {
    const auto first = static_cast<unsigned char>(src[2 * i]);
    const auto second = static_cast<unsigned char>(src[2 * i + 1]);
    out.push_back(static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
  }
  if (src.size() % 2 == 0) return true;
  if (invalid == InvalidInput::Fail) return false;
  out.push_back(kReplacementCharacter);
  return true;
}

void encodeUtf16(std::u16string_view src, bool bigEndian, std::string& out) {
  out.reserve(out.size() + src.size() * 2);
  for (const char16_t unit : src) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out.push_back(bigEndian ? high : low);
    out.push_back(bigEndian ? low : high);
  }
}

bool decode(const CodePageInfo& info, std::string_view src, InvalidInput invalid, std::u16string& out) {
  switch (info.method) {
    case Method::Windows1252: decodeWindows1252(src, out); return true;
    case Method::Utf8: return decodeUtf8(src, invalid, out);
    case Method::Utf16LE: return decodeUtf16(src, false, invalid, out);
    case Method::Utf16BE: return decodeUtf16(src, true, invalid, out);
    case Method::Iconv: return iconvCodecFor(info)->decode(src, invalid, info.defaultUnicode, out);
  }
  return false;
}

// Returns false only for an unpaired surrogate under InvalidInput::Fail.
bool encode(const CodePageInfo& info, std::u16string_view src, InvalidInput invalid, std::string_view defaultChar,
            BestFit bestFit, bool& usedDefault, std::string& out) {
  usedDefault = false;
  switch (info.method) {
    case Method::Windows1252: usedDefault = encodeWindows1252(src, defaultChar[0], bestFit, out); return true;
    case Method::Utf8: return encodeUtf8(src, invalid, out);
    case Method::Utf16LE: encodeUtf16(src, false, out); return true;
    case Method::Utf16BE: encodeUtf16(src, true, out); return true;
    case Method::Iconv: usedDefault = iconvCodecFor(info)->encode(src, defaultChar, bestFit, out); return true;
  }
  return false;
}

bool isUnicodeCodePage(const CodePageInfo& info) {
  return info.method == Method::Utf8 || info.method == Method::Utf16LE || info.method == Method::Utf16BE ||
         info.number == CP_UTF7;
}

// The caller's default character: one byte, or two for a double-byte one.
std::string_view defaultCharacter(const CodePageInfo& info, const char* defaultChar) {
  if (!defaultChar || !*defaultChar || isUnicodeCodePage(info)) return "?";
  const bool doubleByte = defaultChar[1] != 0 && IsDBCSLeadByteEx(info.number, static_cast<BYTE>(defaultChar[0]));
  return std::string_view(defaultChar, doubleByte ? 2 : 1);
}

// Scratch space for the C-style calls, kept per thread; released when a huge
// conversion would otherwise keep its memory.
template <typename String>
class Scratch {
 public:
  explicit Scratch(String& buffer) : buffer_(buffer) { buffer_.clear(); }
  ~Scratch() {
    if (buffer_.capacity() > kKeepBytes / sizeof(typename String::value_type)) String().swap(buffer_);
  }
  String& get() { return buffer_; }

 private:
  static constexpr std::size_t kKeepBytes = 1 << 20;
  String& buffer_;
};

std::u16string& wideScratch() {
  thread_local std::u16string buffer;
  return buffer;
}

std::string& narrowScratch() {
  thread_local std::string buffer;
  return buffer;
}

int failWith(DWORD error) {
  SetLastError(error);
  return 0;
}

// Copies a finished conversion out under the Windows size rules.
template <typename Unit>
int deliver(const std::basic_string<Unit>& result, Unit* dst, int dstSize) {
  if (result.size() > static_cast<std::size_t>(INT_MAX)) return failWith(ERROR_NOT_ENOUGH_MEMORY);
  const int size = static_cast<int>(result.size());
  if (dstSize == 0) return size;
  if (size > dstSize) return failWith(ERROR_INSUFFICIENT_BUFFER);
  if (size > 0) std::memcpy(dst, result.data(), result.size() * sizeof(Unit));
  return size;
}

std::size_t wideLength(const WCHAR* text) {
  std::size_t length = 0;
  while (text[length] != 0) ++length;
  return length;
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, const char* src, int srcBytes, WCHAR* dst, int dstChars) {
  if (!src || srcBytes == 0 || srcBytes < -1 || dstChars < 0 || (dstChars > 0 && !dst))
    return failWith(ERROR_INVALID_PARAMETER);
  const CodePageInfo* info = usableCodePage(codePage);
  if (!info) return failWith(ERROR_INVALID_PARAMETER);
  const std::size_t length = srcBytes == -1 ? std::strlen(src) + 1 : static_cast<std::size_t>(srcBytes);
  const InvalidInput invalid = (flags & MB_ERR_INVALID_CHARS) ? InvalidInput::Fail : InvalidInput::Replace;
  Scratch<std::u16string> scratch(wideScratch());
  if (!decode(*info, std::string_view(src, length), invalid, scratch.get()))
    return failWith(ERROR_NO_UNICODE_TRANSLATION);
  return deliver(scratch.get(), dst, dstChars);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, const WCHAR* src, int srcChars, char* dst, int dstBytes,
                        const char* defaultChar, BOOL* usedDefaultChar) {
  if (!src || srcChars == 0 || srcChars < -1 || dstBytes < 0 || (dstBytes > 0 && !dst))
    return failWith(ERROR_INVALID_PARAMETER);
  const CodePageInfo* info = usableCodePage(codePage);
  if (!info) return failWith(ERROR_INVALID_PARAMETER);
  const std::size_t length = srcChars == -1 ? wideLength(src) + 1 : static_cast<std::size_t>(srcChars);
  const InvalidInput invalid = (flags & WC_ERR_INVALID_CHARS) ? InvalidInput::Fail : InvalidInput::Replace;
  const std::string_view fallback = defaultCharacter(*info, defaultChar);
  Scratch<std::string> scratch(narrowScratch());
  bool usedDefault = false;
  const BestFit bestFit = (flags & WC_NO_BEST_FIT_CHARS) ? BestFit::None : BestFit::Use;
  if (!encode(*info, std::u16string_view(src, length), invalid, fallback, bestFit, usedDefault, scratch.get()))
    return failWith(ERROR_NO_UNICODE_TRANSLATION);
  const int result = deliver(scratch.get(), dst, dstBytes);
  if (result > 0 && usedDefaultChar) *usedDefaultChar = usedDefault ? TRUE : FALSE;
  return result;
}

BOOL IsValidCodePage(UINT codePage) {
  if (codePage <= CP_THREAD_ACP) return FALSE;  // aliases are not code pages
  return usableCodePage(codePage) ? TRUE : FALSE;
}

UINT GetACP() { return 1252; }
UINT GetOEMCP() { return 437; }

BOOL IsDBCSLeadByteEx(UINT codePage, BYTE byte) {
  switch (resolveAlias(codePage)) {
    case 932: return ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC)) ? TRUE : FALSE;
    case 936:
    case 949:
    case 950: return (byte >= 0x81 && byte <= 0xFE) ? TRUE : FALSE;
    default: return FALSE;
  }
}

const char* CharNextExA(WORD codePage, const char* p, DWORD /*flags*/) {
  if (!p || *p == 0) return p;
  if (IsDBCSLeadByteEx(codePage, static_cast<BYTE>(*p)) && p[1] != 0) return p + 2;
  return p + 1;
}

std::u16string multiByteToWide(UINT codePage, std::string_view text) {
  std::u16string result;
  const CodePageInfo* info = usableCodePage(codePage);
  if (info) decode(*info, text, InvalidInput::Replace, result);
  return result;
}

std::string wideToMultiByte(UINT codePage, std::u16string_view text) {
  std::string result;
  const CodePageInfo* info = usableCodePage(codePage);
  bool usedDefault = false;
  if (info) encode(*info, text, InvalidInput::Replace, "?", BestFit::Use, usedDefault, result);
  return result;
}

}  // namespace win
