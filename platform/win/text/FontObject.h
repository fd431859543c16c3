#pragma once
// A logical font in the shared GDI object table. It keeps the LOGFONTW it was
// made from, the face that the face name, weight and slant resolve to, and a
// one-entry cache of the sized instance last used on a device.
#include <string>

#include "platform/win/gdi/GdiObject.h"
#include "platform/win/text/FontInstance.h"
#include "platform/win/text/FontResolver.h"
#include "platform/win/text/FontTypes.h"

namespace win {

// The em height, in logical units, of a font asked for with lfHeight 0.
constexpr int kDefaultFontEmHeight = 16;

class FontObject : public GdiObject {
 public:
  explicit FontObject(const LOGFONTW& logFont);

  int describe(int bufferSize, void* buffer) const override;  // the LOGFONTW
  DWORD objectType() const override;

  const LOGFONTW& logFont() const { return logFont_; }
  const ResolvedFont& resolved() const { return resolved_; }
  // Null when no font file at all is available; callers then measure nothing.
  FontFace* face() const { return face_; }

  // GetTextFace: the LOGFONT face name when that face is installed, the Windows
  // face a substitute name stands for, else the family of the face actually used.
  std::u16string textFace() const;
  // The charset the device reports: SYMBOL_CHARSET for a face with a symbol
  // cmap; ANSI_CHARSET for DEFAULT_CHARSET and for SYMBOL_CHARSET on a text
  // face; otherwise the charset asked for.
  BYTE reportedCharset() const;

  // The instance for a device whose vertical scale is `deviceUnitsPerLogical`;
  // null when there is no face.
  FontInstance* instanceFor(double deviceUnitsPerLogical);

 private:
  int deviceEm64(double deviceUnitsPerLogical) const;

  LOGFONTW logFont_;
  ResolvedFont resolved_;
  FontFace* face_;
  unsigned cachedGeneration_ = 0;
  int cachedEm64_ = 0;
  FontInstance* cachedInstance_ = nullptr;
};

// The font behind a handle, or nullptr for 0, stale and non-font handles.
FontObject* fontFromHandle(HGDIOBJ handle);

HFONT CreateFontIndirectW(const LOGFONTW* logFont);
HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, const WCHAR* faceName);

}  // namespace win
