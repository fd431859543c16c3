#pragma once
// TCheckBoxFormControlObj: INPUT TYPE=checkbox, a 13 x 13 check box that
// submits its value while checked.
#include <string>

#include "engine/objects/TFormControlObj.h"

namespace engine {

class TFormCheckBox;

class TCheckBoxFormControlObj : public TFormControlObj {
 public:
  TCheckBoxFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes,
                          TProperties& properties);
  void SizeFromFont(gui::TCanvas* canvas) override;
  void ResetToDefault() override;
  bool GetSubmission(int index, std::string& text) override;
  void RestoreValue(int, const std::string& value) override;
  void ClearValue() override;
  void SaveEnterValue() override;
  bool CheckChanged() override;
  void PaintForPrint(gui::TCanvas& canvas, int x, int y) override;
  bool Checked() const;
  // A change by the program: no click reaches the host.
  void SetChecked(bool checked);

  bool DefaultChecked = false;

 private:
  bool enterChecked_ = false;
};

}  // namespace engine
