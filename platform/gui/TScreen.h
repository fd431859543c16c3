#pragma once
// The screen: its size and resolution, the installed font families and the
// table of cursors by number. Reached through the global Screen.
#include <map>
#include <memory>

#include "platform/gui/TControl.h"
#include "platform/gui/TStringList.h"

namespace gui {

class TScreen : public TComponent {
 public:
  TScreen();
  ~TScreen() override;

  // The installed font families, sorted.
  TStrings& Fonts();
  // The cursor of a number: the built-in ones (crArrow, crIBeam, ...) and
  // those set by the program; unknown numbers give the arrow.
  win::HCURSOR Cursors(TCursor Index);
  void SetCursors(TCursor Index, win::HCURSOR Value);
  // A cursor for the whole program; crDefault leaves it to the controls.
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor Value);
  int PixelsPerInch() const;
  int Width() const;
  int Height() const;

  // Forgets the cursors set and the fonts read (for tests).
  void Reset();

 private:
  std::unique_ptr<TStringList> fonts_;
  std::map<TCursor, win::HCURSOR> cursors_;
  TCursor cursor_ = crDefault;
};

class TApplication;

// The global screen and application objects, made on first use.
struct TScreenAccess {
  TScreen* operator->() const;
  TScreen& operator*() const { return *operator->(); }
};
inline constexpr TScreenAccess Screen{};

}  // namespace gui
