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
  void SaveEnterValue() override;
  bool CheckChanged() override;
  void PaintForPrint(gui::TCanvas& canvas, int x, int y) override;
  bool Checked() const;
  // A change by the program: the group and the host are left alone.
  void SetChecked(bool checked);
  void SetTabStop(bool tabStop);
  // A click of the user: the group's others are unchecked, then the host hears of it.
  void RadioClick();

  bool DefaultChecked = false;

 private:
  bool enterChecked_ = false;
};

}  // namespace engine
