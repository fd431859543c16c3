#pragma once
// A one-row edit. With AutoSize (the default) its height follows the font:
// the font's line height plus 8 pixels with the sunken border, plus 2
// without, so that the row sits centred with room above and below.
#include "platform/gui/TCustomEdit.h"

namespace gui {

class TEdit : public TCustomEdit {
 public:
  explicit TEdit(TComponent* AOwner);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool Value);

 protected:
  void AdjustHeight() override;

 private:
  bool autoSize_ = true;
};

}  // namespace gui
