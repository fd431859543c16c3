#pragma once
// The document's hover state: the link run and the image under the mouse.
// A hit test records them; the link under the mouse takes its hover colour
// and an ACTIVE image its hover or pressed look.
#include <cstdint>
#include <memory>
#include <string>

namespace gui {
class TCanvas;
}

namespace engine {

class TSectionList;
class TFormControlObj;
class TUrlTarget;

// The document's hit test at (X, Y), updating the hover link and image.
// leftButtonDown: the image under the mouse shows pressed.
std::uint8_t LinkAtPointWithHover(TSectionList& document, gui::TCanvas* canvas, int X, int Y,
                                  std::unique_ptr<TUrlTarget>& urlTarget, TFormControlObj*& formControl,
                                  std::string& title, bool leftButtonDown);
// The hover image shows pressed or not.
void SetHoverImagePressed(TSectionList& document, bool pressed);
// The mouse left the document: no hover link or image.
void ClearHover(TSectionList& document);

}  // namespace engine
