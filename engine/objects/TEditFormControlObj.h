#pragma once
// TEditFormControlObj: INPUT TYPE=text and password, shown as an edit whose
// width follows SIZE and the font; also the text half of a file input.
#include <string>

#include "engine/objects/TFormControlObj.h"

namespace gui {
class TEdit;
}  // namespace gui

namespace engine {

class TEditFormControlObj : public TFormControlObj {
 public:
  TEditFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes,
                      const std::string& type, TProperties& properties);
  void ApplyStyle(TProperties& properties) override;
  void SizeFromFont(gui::TCanvas* canvas) override;
  void ResetToDefault() override;
  bool GetSubmission(int index, std::string& text) override;
  void RestoreValue(int, const std::string& value) override;
  void ClearValue() override;
  void SaveEnterValue() override;
  bool CheckChanged() override;
  void PaintForPrint(gui::TCanvas& canvas, int x, int y) override;
  gui::TEdit* Edit() const;

  int EditSize = 15;
  int MaxLength = 0;  // 0: no limit

 private:
  int keptHeight_ = 0;
  std::u16string enterText_;
};

}  // namespace engine
