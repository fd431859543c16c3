#include "engine/objects/ThtmlForm.h"

#include <algorithm>

#include "engine/common/TextHelpers.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TAttributeList.h"
#include "engine/objects/TFormControlObj.h"
#include "engine/objects/TRadioButtonFormControlObj.h"
#include "platform/gui/TWinControl.h"
#include "platform/win/user/Input.h"

namespace engine {

namespace {

std::string AttributeText(const TAttributeList* attributes, THtmlSymbol symbol) {
  const TAttribute* attribute = nullptr;
  return attributes && attributes->Find(symbol, attribute) ? attribute->ValueText : std::string();
}

}  // namespace

ThtmlForm* ThtmlForm::Create(TSectionList* document, const TAttributeList* attributes) {
  auto form = std::make_unique<ThtmlForm>(document, attributes);
  ThtmlForm* added = form.get();
  document->htmlFormList.push_back(std::move(form));
  return added;
}

ThtmlForm::ThtmlForm(TSectionList* document, const TAttributeList* attributes) : Document(document) {
  const TAttribute* method = nullptr;
  if (attributes && attributes->Find(symMethod, method)) Method = method->ValueText.substr(0, 4);
  Action = AttributeText(attributes, symAction);
  Target = AttributeText(attributes, symTarget);
  EncType = AttributeText(attributes, symEnctype);
}

void ThtmlForm::AddControl(TFormControlObj* control) {
  ControlList.push_back(control);
  if (!control->IsHidden()) ++NonHiddenCount;
  if (auto* radio = dynamic_cast<TRadioButtonFormControlObj*>(control)) RadioGroup(radio->Name).push_back(radio);
}

void ThtmlForm::AdoptControl(std::unique_ptr<TFormControlObj> control) {
  ownedControls_.push_back(std::move(control));
}

void ThtmlForm::ResetControls() {
  for (TFormControlObj* control : ControlList) control->ResetToDefault();
}

void ThtmlForm::SubmitTheForm(const std::string& extra) {
  if (!Document || !Document->OnSubmitForm) return;
  std::vector<std::string> results;
  for (TFormControlObj* control : ControlList) {
    if (control->Disabled) continue;
    std::string text;
    for (int index = 0; control->GetSubmission(index, text); ++index)
      if (!text.empty()) results.push_back(text);
  }
  if (!extra.empty()) results.push_back(extra);
  CallHostEvent(Document, [&] { Document->OnSubmitForm(Action, Target, EncType, Method, std::move(results)); });
}

std::vector<std::string> ThtmlForm::GetFormData() const {
  std::vector<std::string> data;
  for (TFormControlObj* control : ControlList) {
    std::string text;
    for (int index = 0; control->GetSubmission(index, text); ++index)
      if (!text.empty()) data.push_back(text);
  }
  return data;
}

void ThtmlForm::SetFormData(const std::vector<std::string>& lines) {
  // One pass over the lines, so restoring is linear in controls plus lines.
  std::map<std::string, std::vector<std::string>> byName;
  for (const std::string& line : lines) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos || equals == 0) continue;
    byName[LowerCase(line.substr(0, equals))].push_back(line.substr(equals + 1));
  }
  for (TFormControlObj* control : ControlList) {
    control->ClearValue();
    const auto found = byName.find(LowerCase(control->Name));
    if (found == byName.end()) continue;
    int index = 0;
    for (const std::string& value : found->second) control->RestoreValue(index++, value);
  }
}

std::vector<TRadioButtonFormControlObj*>& ThtmlForm::RadioGroup(const std::string& name) {
  return radioGroups_[LowerCase(name)];
}

TRadioButtonFormControlObj*& ThtmlForm::RadioLead(const std::string& name) { return radioLeads_[LowerCase(name)]; }

bool ThtmlForm::UncheckGroup(TRadioButtonFormControlObj* checked) {
  // The group may go with the document while the host hears of a change.
  const std::vector<TRadioButtonFormControlObj*> group = RadioGroup(checked->Name);
  for (TRadioButtonFormControlObj* radio : group) {
    if (radio == checked) continue;
    radio->SetChecked(false);
    radio->SetTabStop(false);
    if (!radio->CheckChanged()) return false;
  }
  return true;
}

void ThtmlForm::ControlKeyDown(TFormControlObj* sender, win::WORD& key, gui::TShiftState shift) {
  auto* radio = dynamic_cast<TRadioButtonFormControlObj*>(sender);
  int step = 0;
  if (key == win::VK_LEFT || key == win::VK_UP) step = -1;
  else if (key == win::VK_RIGHT || key == win::VK_DOWN) step = 1;
  if (!radio || step == 0) {
    if (Document && Document->Links.OnKeyDown) Document->Links.OnKeyDown(key, shift);
    return;
  }
  const std::vector<TRadioButtonFormControlObj*>& group = RadioGroup(radio->Name);
  const auto at = std::find(group.begin(), group.end(), radio);
  if (at == group.end()) return;
  const auto index = (at - group.begin()) + step;
  if (index < 0 || index >= static_cast<std::ptrdiff_t>(group.size())) return;
  FocusControlWindow(group[static_cast<std::size_t>(index)]->WindowControl());
}

}  // namespace engine
