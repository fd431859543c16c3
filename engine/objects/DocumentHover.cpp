#include "engine/objects/DocumentHover.h"

#include "engine/document/TSectionList.h"
#include "engine/html/TUrlTarget.h"
#include "engine/objects/TImageObj.h"
#include "engine/text/TFontObj.h"
#include "platform/gui/TWinControl.h"

namespace engine {

namespace {

void SetImageState(TIDObject* object, int state) {
  if (auto* image = dynamic_cast<TImageObj*>(object)) image->SetHoverState(state);
}

void Invalidate(TSectionList& document) {
  if (document.PPanel) document.PPanel->Invalidate();
}

}  // namespace

std::uint8_t LinkAtPointWithHover(TSectionList& document, gui::TCanvas* canvas, int X, int Y,
                                  std::unique_ptr<TUrlTarget>& urlTarget, TFormControlObj*& formControl,
                                  std::string& title, bool leftButtonDown) {
  TFontObj* oldLink = document.HoverLink;
  TIDObject* oldImage = document.HoverImage;
  document.HoverLink = nullptr;
  document.HoverImage = nullptr;
  const std::uint8_t flags = document.LinkAtPoint(canvas, X, Y, urlTarget, formControl, title);
  if (document.OverLinksActive && document.HoverLink != oldLink) {
    if (oldLink) oldLink->SetLinkHover(document.Links, false);
    if (document.HoverLink) document.HoverLink->SetLinkHover(document.Links, true);
    Invalidate(document);
  }
  if (document.HoverImage != oldImage && oldImage) SetImageState(oldImage, 0);
  if (document.HoverImage) SetImageState(document.HoverImage, leftButtonDown ? 2 : 1);
  return flags;
}

void SetHoverImagePressed(TSectionList& document, bool pressed) {
  if (!document.HoverImage) return;
  SetImageState(document.HoverImage, pressed ? 2 : 1);
  Invalidate(document);
}

void ClearHover(TSectionList& document) {
  if (!document.HoverLink && !document.HoverImage) return;
  Invalidate(document);
  if (document.HoverLink) document.HoverLink->SetLinkHover(document.Links, false);
  SetImageState(document.HoverImage, 0);
  document.HoverLink = nullptr;
  document.HoverImage = nullptr;
}

}  // namespace engine
