#include "platform/gui/TEdit.h"

namespace gui {

TEdit::TEdit(TComponent* AOwner) : TCustomEdit(AOwner) { AdjustHeight(); }

void TEdit::SetAutoSize(bool Value) {
  autoSize_ = Value;
  AdjustHeight();
}

void TEdit::AdjustHeight() {
  if (autoSize_) SetHeight(LineHeight() + (BorderStyle() == bsSingle ? 8 : 2));
}

}  // namespace gui
