#include "platform/gui/TFont.h"

#include <algorithm>

#include "platform/win/gdi/GdiObject.h"
#include "platform/win/gdi/ScreenDevice.h"
#include "platform/win/kernel/Arithmetic.h"
#include "platform/win/kernel/CodePages.h"
#include "platform/win/text/FontObject.h"
#include "platform/win/text/FontTypes.h"
#include "platform/win/text/SharedFonts.h"

namespace gui {
namespace {

// The face name in UTF-16. A document's fonts share a few names, so the last
// conversion is kept.
const std::u16string& WideFaceName(const std::string& name) {
  thread_local std::string lastName;
  thread_local std::u16string lastWide;
  if (name != lastName) {
    lastWide = win::multiByteToWide(win::CP_ACP, name);
    lastName = name;
  }
  return lastWide;
}

}  // namespace

TFont::TFont() : pixelsPerInch_(win::screenPixelsPerInch()) { height_ = -win::MulDiv(8, pixelsPerInch_, 72); }

void TFont::SetName(const std::string& Value) {
  if (Value.empty() || Value == name_) return;
  name_ = Value;
  Changed();
}

int TFont::Size() const { return -win::MulDiv(height_, 72, pixelsPerInch_); }

void TFont::SetSize(int Value) { SetHeight(-win::MulDiv(Value, pixelsPerInch_, 72)); }

void TFont::SetHeight(int Value) {
  if (Value == height_) return;
  height_ = Value;
  Changed();
}

void TFont::SetStyle(TFontStyles Value) {
  if (Value == style_) return;
  style_ = Value;
  Changed();
}

void TFont::SetColor(TColor Value) {
  if (Value == color_) return;
  color_ = Value;
  // The colour is no part of the handle, but canvases show it.
  if (OnChange) OnChange(this);
}

void TFont::SetCharset(TFontCharset Value) {
  if (Value == charset_) return;
  charset_ = Value;
  Changed();
}

void TFont::SetPitch(TFontPitch Value) {
  if (Value == pitch_) return;
  pitch_ = Value;
  Changed();
}

void TFont::Assign(const TPersistent* Source) {
  const auto* font = dynamic_cast<const TFont*>(Source);
  if (!font) {
    TPersistent::Assign(Source);
    return;
  }
  AssignFont(*font);
}

void TFont::AssignFont(const TFont& Source) {
  if (&Source == this) return;
  name_ = Source.name_;
  // The size in points carries over; the height follows this font's PPI.
  height_ = Source.pixelsPerInch_ == pixelsPerInch_ ? Source.height_
                                                     : -win::MulDiv(Source.Size(), pixelsPerInch_, 72);
  style_ = Source.style_;
  color_ = Source.color_;
  charset_ = Source.charset_;
  pitch_ = Source.pitch_;
  // The same description shares the source's handle instead of making one.
  const win::HGDIOBJ shared = height_ == Source.height_ ? Source.MadeHandle() : 0;
  if (shared != 0 && win::holdSharedFont(shared)) AdoptHandle(shared);
  else Changed();
}

void TFont::SetHandle(win::HFONT Value) {
  win::LOGFONTW logFont{};
  if (Value == 0 || win::GetObjectW(Value, sizeof logFont, &logFont) != static_cast<int>(sizeof logFont)) return;
  std::u16string face;
  for (int i = 0; i < win::LF_FACESIZE && logFont.lfFaceName[i]; ++i) face += logFont.lfFaceName[i];
  name_ = win::wideToMultiByte(win::CP_ACP, face);
  height_ = logFont.lfHeight;
  style_ = static_cast<TFontStyles>((logFont.lfWeight >= win::FW_BOLD ? fsBold : 0) |
                                    (logFont.lfItalic ? fsItalic : 0) | (logFont.lfUnderline ? fsUnderline : 0) |
                                    (logFont.lfStrikeOut ? fsStrikeOut : 0));
  charset_ = logFont.lfCharSet;
  const int pitch = logFont.lfPitchAndFamily & 3;
  pitch_ = pitch == 1 ? fpFixed : (pitch == 2 ? fpVariable : fpDefault);
  AdoptHandle(Value);
}

win::HGDIOBJ TFont::CreateHandle() const {
  win::LOGFONTW logFont{};
  logFont.lfHeight = height_;
  logFont.lfWeight = (style_ & fsBold) ? win::FW_BOLD : win::FW_NORMAL;
  logFont.lfItalic = (style_ & fsItalic) ? 1 : 0;
  logFont.lfUnderline = (style_ & fsUnderline) ? 1 : 0;
  logFont.lfStrikeOut = (style_ & fsStrikeOut) ? 1 : 0;
  logFont.lfCharSet = charset_;
  logFont.lfPitchAndFamily = static_cast<win::BYTE>(pitch_ == fpFixed ? 1 : (pitch_ == fpVariable ? 2 : 0));
  const std::u16string& face = WideFaceName(name_);
  std::copy_n(face.begin(), std::min<std::size_t>(face.size(), win::LF_FACESIZE - 1), logFont.lfFaceName);
  return win::acquireSharedFont(logFont);
}

}  // namespace gui
