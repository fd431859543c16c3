#pragma once
// Fonts, pens and brushes: descriptions whose drawing-object handle is made
// on first use and dropped whenever a property changes. OnChange fires before
// the old handle goes, so a canvas can deselect it first.
#include <functional>

#include "platform/gui/TPersistent.h"
#include "platform/win/Types.h"

namespace gui {

class TGraphicsObject : public TPersistent {
 public:
  ~TGraphicsObject() override;

  std::function<void(TObject* Sender)> OnChange;

 protected:
  // Raises OnChange, then deletes the current handle.
  void Changed();
  // The handle made by CreateHandle, kept until the next change.
  win::HGDIOBJ CachedHandle() const;
  virtual win::HGDIOBJ CreateHandle() const = 0;
  // The handle if one has been made, else 0; makes none.
  win::HGDIOBJ MadeHandle() const { return handle_; }
  // Adopts a handle made elsewhere; it is deleted like our own.
  void AdoptHandle(win::HGDIOBJ Handle);

 private:
  void FreeHandle();
  mutable win::HGDIOBJ handle_ = 0;
};

}  // namespace gui
