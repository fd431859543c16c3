#pragma once
// TComboFormControlObj: a SELECT without MULTIPLE and SIZE, shown as a
// drop-down list.
#include <string>

#include "engine/objects/TListBoxFormControlObj.h"

namespace gui {
class TComboBox;
}  // namespace gui

namespace engine {

class TComboFormControlObj : public TListBoxFormControlObj {
 public:
  TComboFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes,
                       TProperties& properties);
  ~TComboFormControlObj() override;
  void ApplyStyle(TProperties& properties) override;
  void ResetToDefault() override;
  void SizeFromFont(gui::TCanvas* canvas) override;
  bool GetSubmission(int index, std::string& text) override;
  void RestoreValue(int index, const std::string& value) override;
  void SaveEnterValue() override;
  bool CheckChanged() override;
  void PaintForPrint(gui::TCanvas& canvas, int x, int y) override;
  gui::TComboBox* Combo() const;

 private:
  int enterIndex_ = -1;
};

}  // namespace engine
