#pragma once
// TListBoxFormControlObj: a SELECT with MULTIPLE or a SIZE above 1, shown as a
// list box; also the base of the drop-down combo box.
#include <string>
#include <vector>

#include "engine/objects/TFormControlObj.h"
#include "engine/objects/TOptionObj.h"

namespace gui {
class TListBox;
}  // namespace gui

namespace engine {

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
  // The options' display texts as the window shows them.
  std::vector<std::u16string> OptionTexts() const;

  // For the combo box, which makes its own window.
  TListBoxFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes);
};

}  // namespace engine
