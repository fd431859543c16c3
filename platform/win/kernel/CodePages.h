#pragma once
// Conversion between 8-bit text in a Windows code page and UTF-16, with the
// Windows code-page numbers and the calling conventions of the Windows
// functions. 1252 and UTF-8 are converted by hand; the other code pages go
// through iconv converters opened once per code page and thread.
#include <string>
#include <string_view>

#include "platform/win/Types.h"

namespace win {

constexpr UINT CP_ACP = 0;         // the ANSI code page: 1252
constexpr UINT CP_OEMCP = 1;       // the OEM code page: 437
constexpr UINT CP_MACCP = 2;       // the Macintosh code page: 10000
constexpr UINT CP_THREAD_ACP = 3;  // the thread's ANSI code page: 1252
constexpr UINT CP_UTF16LE = 1200;
constexpr UINT CP_UTF16BE = 1201;
constexpr UINT CP_UTF7 = 65000;
constexpr UINT CP_UTF8 = 65001;

constexpr DWORD MB_PRECOMPOSED = 0x1;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x8;
constexpr DWORD WC_ERR_INVALID_CHARS = 0x80;
constexpr DWORD WC_NO_BEST_FIT_CHARS = 0x400;

// Converts srcBytes bytes (-1: up to and including the terminating zero) to
// UTF-16. Returns the number of code units written, or with dstChars 0 the
// number needed. 0 on failure, with GetLastError: ERROR_INVALID_PARAMETER (bad
// arguments, unknown code page), ERROR_INSUFFICIENT_BUFFER (dst too small; dst
// is left untouched), ERROR_NO_UNICODE_TRANSLATION (invalid input under
// MB_ERR_INVALID_CHARS). Without that flag invalid bytes become U+FFFD in
// UTF-8 and the code page's default character elsewhere.
int MultiByteToWideChar(UINT codePage, DWORD flags, const char* src, int srcBytes, WCHAR* dst,
                        int dstChars);

// Converts srcChars code units (-1: up to and including the terminating zero)
// to the code page. Characters the code page cannot hold become defaultChar
// (nullptr: "?") and set *usedDefaultChar; UTF-8 and UTF-7 ignore both and
// encode unpaired surrogates as U+FFFD unless WC_ERR_INVALID_CHARS is given.
// Size semantics and errors as for MultiByteToWideChar.
int WideCharToMultiByte(UINT codePage, DWORD flags, const WCHAR* src, int srcChars, char* dst,
                        int dstBytes, const char* defaultChar, BOOL* usedDefaultChar);

// Whether the code page number (not a CP_ACP-style alias) can be converted.
BOOL IsValidCodePage(UINT codePage);
UINT GetACP();
UINT GetOEMCP();

// Whether the byte starts a two-byte character in a double-byte code page
// (932, 936, 949, 950; CP_ACP and the other code pages have none).
BOOL IsDBCSLeadByteEx(UINT codePage, BYTE byte);
// The next character after p in a zero-terminated string: p itself at the
// terminating zero, p + 2 after a lead byte followed by a non-zero byte.
const char* CharNextExA(WORD codePage, const char* p, DWORD flags);

// Whole-string conveniences: invalid input is replaced as above; an unknown
// code page gives an empty result.
std::u16string multiByteToWide(UINT codePage, std::string_view text);
std::string wideToMultiByte(UINT codePage, std::u16string_view text);

}  // namespace win
