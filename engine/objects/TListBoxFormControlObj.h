#pragma once
// TListBoxFormControlObj: a SELECT with MULTIPLE or a SIZE above 1, shown as a
// list box; also the base of the drop-down combo box.
#include <array>
#include <map>
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
  void ApplyStyle(TProperties& properties) override;
  void ResetToDefault() override;
  void SizeFromFont(gui::TCanvas* canvas) override;
  bool GetSubmission(int index, std::string& text) override;
  void RestoreValue(int index, const std::string& value) override;
  void SaveEnterValue() override;
  bool CheckChanged() override;
  void PaintForPrint(gui::TCanvas& canvas, int x, int y) override;
  gui::TListBox* List() const;

  std::vector<TOptionObj> Options;
  int LBSize = -1;  // rows shown; -1: from the option count
  int Longest = 3;
  // Selections compared for the change event: the first 51 items only (a
  // change further down the list fires no change event).
  static constexpr int kComparedItems = 51;

 protected:
  // The options' display texts as the window shows them.
  std::vector<std::u16string> OptionTexts() const;
  // The options whose value is value (without case), in order; the lookup is
  // built once per restore.
  const std::vector<int>& OptionsValued(const std::string& value);

  // For the combo box, which makes its own window.
  TListBoxFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes);

 private:
  int enterCount_ = 0;
  std::array<bool, kComparedItems> enterSelected_{};
  std::map<std::string, std::vector<int>> optionsByValue_;
};

}  // namespace engine
