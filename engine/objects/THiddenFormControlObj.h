#pragma once
// THiddenFormControlObj: INPUT TYPE=hidden, a name and value with no window
// and no place in the text; the form owns it.
#include <string>

#include "engine/objects/TFormControlObj.h"

namespace engine {

class THiddenFormControlObj : public TFormControlObj {
 public:
  using TFormControlObj::TFormControlObj;
  bool IsHidden() const override { return true; }
  bool GetSubmission(int index, std::string& text) override;
  void RestoreValue(int, const std::string& value) override { Value = value; }
};

}  // namespace engine
