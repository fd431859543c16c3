#pragma once
// TTextAreaFormControlObj: TEXTAREA, shown as a memo of ROWS x COLS with the
// WRAP modes off, soft and hard.
#include <string>

#include "engine/objects/TFormControlObj.h"

namespace gui {
class TMemo;
}  // namespace gui

namespace engine {

class TTextAreaFormControlObj : public TFormControlObj {
 public:
  enum class WrapMode { Off, Soft, Hard };
  TTextAreaFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes,
                          TProperties& properties);
  void SetInitialText(const std::string& text) override { InitialText += text; }
  void ResetToDefault() override;
  void SizeFromFont(gui::TCanvas* canvas) override;
  bool GetSubmission(int index, std::string& text) override;
  void RestoreValue(int index, const std::string& value) override;
  void ClearValue() override;
  void ApplyStyle(TProperties& properties) override;
  void SaveEnterValue() override;
  bool CheckChanged() override;
  void PaintForPrint(gui::TCanvas& canvas, int x, int y) override;
  gui::TMemo* Memo() const;

  WrapMode Wrap = WrapMode::Soft;
  int Rows = 5;
  int Cols = 30;
  std::string InitialText;

 private:
  std::u16string enterText_;
};

}  // namespace engine
