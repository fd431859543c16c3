#pragma once
// Measuring text with the font selected into a DC, in logical units. A
// string's width is the sum of its advances plus the character extra per
// character plus the justification of its break characters; drawing uses the
// same sums. No kerning, no shaping: each UTF-16 unit is one character.
#include "platform/win/text/FontTypes.h"
#include "platform/win/text/TextContext.h"

namespace win {

BOOL GetTextExtentPoint32W(HDC dc, const WCHAR* text, int count, SIZE* size);
// The ANSI form; the bytes are read in the ANSI code page (1252).
BOOL GetTextExtentPoint32A(HDC dc, const char* text, int count, SIZE* size);
// With `fit`, the number of leading characters whose extent stays within
// maxExtent (a negative maxExtent fits none). With `partialExtents`, the
// extent of the first 1, 2, ... count characters (the array holds count entries).
BOOL GetTextExtentExPointW(HDC dc, const WCHAR* text, int count, int maxExtent, int* fit, int* partialExtents,
                           SIZE* size);
// GetTextExtentExPointW's fit count, and in fitExtent the partial extent of
// the last fitting character (0 when none fits). The walk stops at the first
// character that does not fit, so a long text costs only what fits.
BOOL fitTextExtent(HDC dc, const WCHAR* text, int count, int maxExtent, int* fit, int* fitExtent);

// A DC's text state read once, for measuring many strings in the font it has
// selected: the same sums as GetTextExtentExPointW, for as long as the DC's
// font, mapping, character extra and justification stay as they were read.
// A layout that measures run after run keeps one per font instead of opening
// the DC for every string.
class TextMeter {
 public:
  // False for a handle that is not a live DC; the meter then measures nothing.
  bool read(HDC dc);
  bool isRead() const { return read_; }
  // False once the cached font instances were dropped: read again.
  bool current() const { return read_ && generation_ == fontInstanceGeneration(); }
  // Whether this meter measures as it would on the DC `device` was read
  // from: the same scale, and neither justifies.
  bool sameScale(const TextMeter& device) const;
  // As fitTextExtent.
  int fit(const WCHAR* text, int count, int maxExtent, int& extent) const;
  // The width GetTextExtentPoint32W gives.
  int width(const WCHAR* text, int count) const;

 private:
  TextContext context_;
  TextSpacing spacing_;
  unsigned generation_ = 0;
  bool read_ = false;
};
// Advance widths of the characters first..last, without character extra.
BOOL GetCharWidth32W(HDC dc, UINT first, UINT last, int* widths);
BOOL GetCharABCWidthsW(HDC dc, UINT first, UINT last, ABC* widths);

}  // namespace win
