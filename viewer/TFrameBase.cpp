#include "viewer/TFrameBase.h"

#include "viewer/TFrameSet.h"

namespace viewer {

TFrameBase::TFrameBase(gui::TComponent* AOwner, TFrameSet* MasterSet)
    : gui::TCustomPanel(AOwner), masterSet_(MasterSet) {
  if (auto* owner = dynamic_cast<TFrameBase*>(AOwner)) localCharSet_ = owner->LocalCharSet();
  SetBevelInner(gui::bvNone);
}

}  // namespace viewer
