#include "platform/gui/TScreen.h"

#include "platform/gui/UserCalls.h"
#include "platform/win/gdi/ScreenDevice.h"
#include "platform/win/text/FontResolver.h"

namespace gui {

namespace {

// The system cursor for each built-in cursor number.
win::WORD systemCursorId(TCursor index) {
  switch (index) {
    case crIBeam: return win::IDC_IBEAM;
    case crCross: return win::IDC_CROSS;
    case crSizeNESW: return win::IDC_SIZENESW;
    case crSizeNS: case crVSplit: return win::IDC_SIZENS;
    case crSizeNWSE: return win::IDC_SIZENWSE;
    case crSizeWE: case crHSplit: return win::IDC_SIZEWE;
    case crUpArrow: return win::IDC_UPARROW;
    case crHourGlass: return win::IDC_WAIT;
    case crNo: case crNoDrop: return win::IDC_NO;
    case crAppStart: return win::IDC_APPSTARTING;
    case crHelp: return win::IDC_HELP;
    case crHandPoint: return win::IDC_HAND;
    case crSizeAll: return win::IDC_SIZEALL;
    default: return win::IDC_ARROW;
  }
}

}  // namespace

TScreen* TScreenAccess::operator->() const {
  static TScreen screen;
  return &screen;
}

TScreen::TScreen() : TComponent(nullptr) {}
TScreen::~TScreen() = default;

TStrings& TScreen::Fonts() {
  if (!fonts_) {
    fonts_ = std::make_unique<TStringList>();
    for (const std::string& family : win::installedFontFamilies()) fonts_->Add(family);
    fonts_->SetSorted(true);
  }
  return *fonts_;
}

win::HCURSOR TScreen::Cursors(TCursor Index) {
  const auto found = cursors_.find(Index);
  if (found != cursors_.end() && found->second) return found->second;
  if (Index == crNone) return 0;
  return win::LoadCursorW(0, systemCursorId(Index));
}

void TScreen::SetCursors(TCursor Index, win::HCURSOR Value) {
  if (Value) cursors_[Index] = Value;
  else cursors_.erase(Index);
}

void TScreen::SetCursor(TCursor Value) {
  if (Value == cursor_) return;
  cursor_ = Value;
  win::SetCursor(Cursors(Value == crDefault ? crArrow : Value));
}

int TScreen::PixelsPerInch() const { return win::screenPixelsPerInch(); }
int TScreen::Width() const { return win::screenWidth(); }
int TScreen::Height() const { return win::screenHeight(); }

void TScreen::Reset() {
  fonts_.reset();
  cursors_.clear();
  cursor_ = crDefault;
}

}  // namespace gui
