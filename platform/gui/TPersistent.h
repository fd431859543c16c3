#pragma once
// Objects that can take the value of another object of a compatible class.
#include "platform/gui/TObject.h"

namespace gui {

class TPersistent : public TObject {
 public:
  // Copies Source into this object. The default asks Source to AssignTo this
  // object and raises EConvertError when neither side knows the other.
  virtual void Assign(const TPersistent* Source);

 protected:
  // Copies this object into Dest; the default raises EConvertError.
  virtual void AssignTo(TPersistent* Dest) const;

 private:
  void AssignError(const TPersistent* Source) const;
};

}  // namespace gui
