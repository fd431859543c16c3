#pragma once
// TRadioButtonFormControlObj: INPUT TYPE=radio. The form keeps the radio groups
// (all radios share the paint panel, so the window control cannot).
#include <string>

#include "engine/objects/TFormControlObj.h"

namespace engine {

class TRadioButtonFormControlObj : public TFormControlObj {
 public:
  TRadioButtonFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes,
                             TProperties& properties);
  void SizeFromFont(gui::TCanvas* canvas) override;
  void ResetToDefault() override;
  bool GetSubmission(int index, std::string& text) override;
  void RestoreValue(int, const std::string& value) override;
  bool Checked() const;
  void SetChecked(bool checked);
  // A click of the user: the group's others are unchecked.
  void RadioClick();

  bool DefaultChecked = false;
};

}  // namespace engine
