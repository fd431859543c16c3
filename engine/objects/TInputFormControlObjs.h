#pragma once
// The INPUT kinds: hidden, text and password, the push buttons (submit,
// reset, button), check box and radio button.
#include <string>

#include "engine/objects/TFormControlObj.h"

namespace gui {
class TButton;
class TCheckBox;
class TEdit;
class TRadioButton;
}  // namespace gui

namespace engine {

class THiddenFormControlObj : public TFormControlObj {
 public:
  using TFormControlObj::TFormControlObj;
  bool IsHidden() const override { return true; }
  bool GetSubmission(int index, std::string& text) override;
  void RestoreValue(int, const std::string& value) override { Value = value; }
};

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

class TButtonFormControlObj : public TFormControlObj {
 public:
  enum class ButtonKind { Submit, Reset, Button };
  TButtonFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes,
                        const std::string& type, TProperties& properties);
  void SizeFromFont(gui::TCanvas* canvas) override;
  // What a click does after the host heard of it.
  void ButtonClick();
  gui::TButton* Button() const;

  ButtonKind Which = ButtonKind::Button;
};

class TCheckBoxFormControlObj : public TFormControlObj {
 public:
  TCheckBoxFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes,
                          TProperties& properties);
  void SizeFromFont(gui::TCanvas* canvas) override;
  void ResetToDefault() override;
  bool GetSubmission(int index, std::string& text) override;
  void RestoreValue(int, const std::string& value) override;
  void ClearValue() override;
  bool Checked() const;
  void SetChecked(bool checked);

  bool DefaultChecked = false;
};

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
