#pragma once
// TEditFormControlObj: INPUT TYPE=text and password, shown as an edit whose
// width follows SIZE and the font.
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
  void SizeFromFont(gui::TCanvas* canvas) override;
  void ResetToDefault() override;
  bool GetSubmission(int index, std::string& text) override;
  void RestoreValue(int, const std::string& value) override;
  void ClearValue() override;
  gui::TEdit* Edit() const;

  int EditSize = 15;
  int MaxLength = 0;  // 0: no limit

 private:
  int keptHeight_ = 0;
};

}  // namespace engine
