#pragma once
// SELECT and TEXTAREA: a list box (MULTIPLE or SIZE above 1), a drop-down
// combo box otherwise, and a memo for text areas.
#include <string>
#include <vector>

#include "engine/objects/TFormControlObj.h"

namespace gui {
class TComboBox;
class TListBox;
class TMemo;
}  // namespace gui

namespace engine {

struct TOptionObj {
  std::string Text;  // display text, 8-bit in the element's code page
  std::string Value;
  bool Selected = false;
};

class TListBoxFormControlObj : public TFormControlObj {
 public:
  TListBoxFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes,
                         TProperties& properties);
  void AddOption(const std::u16string& text, bool selected, int codePage, const std::string& attributes) override;
  void ResetToDefault() override;
  void SizeFromFont(gui::TCanvas* canvas) override;
  bool GetSubmission(int index, std::string& text) override;
  void RestoreValue(int index, const std::string& value) override;
  gui::TListBox* List() const;

  std::vector<TOptionObj> Options;
  int LBSize = -1;  // rows shown; -1: from the option count
  int Longest = 3;

 protected:
  // For the combo box, which makes its own window.
  TListBoxFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes);
};

class TComboFormControlObj : public TListBoxFormControlObj {
 public:
  TComboFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes,
                       TProperties& properties);
  void ResetToDefault() override;
  void SizeFromFont(gui::TCanvas* canvas) override;
  bool GetSubmission(int index, std::string& text) override;
  void RestoreValue(int index, const std::string& value) override;
  gui::TComboBox* Combo() const;
};

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
  gui::TMemo* Memo() const;

  WrapMode Wrap = WrapMode::Soft;
  int Rows = 5;
  int Cols = 30;
  std::string InitialText;
};

}  // namespace engine
