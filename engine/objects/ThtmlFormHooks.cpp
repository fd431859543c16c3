#include "engine/objects/ThtmlFormHooks.h"

#include <memory>

#include "engine/common/TextHelpers.h"
#include "engine/document/TSectionList.h"
#include "engine/html/BuildState.h"
#include "engine/html/BuilderSeams.h"
#include "engine/html/ParseState.h"
#include "engine/objects/TButtonFormControlObj.h"
#include "engine/objects/TCheckBoxFormControlObj.h"
#include "engine/objects/TComboFormControlObj.h"
#include "engine/objects/TEditFormControlObj.h"
#include "engine/objects/THiddenFormControlObj.h"
#include "engine/objects/TListBoxFormControlObj.h"
#include "engine/objects/TRadioButtonFormControlObj.h"
#include "engine/objects/TTextAreaFormControlObj.h"
#include "engine/objects/ThtmlForm.h"
#include "engine/text/TSection.h"

namespace engine {

namespace {

std::unique_ptr<TFormControlObj> MakeInput(TSectionList* root, ThtmlForm* form, const TAttributeList& attributes,
                                           TProperties& properties) {
  const TAttribute* typeAttribute = nullptr;
  const std::string type = attributes.Find(symType, typeAttribute) ? LowerCase(typeAttribute->ValueText) : "text";
  if (type == "hidden") return std::make_unique<THiddenFormControlObj>(root, form, attributes);
  if (type == "checkbox") return std::make_unique<TCheckBoxFormControlObj>(root, form, attributes, properties);
  if (type == "radio") return std::make_unique<TRadioButtonFormControlObj>(root, form, attributes, properties);
  if (type == "submit" || type == "reset" || type == "button")
    return std::make_unique<TButtonFormControlObj>(root, form, attributes, type, properties);
  // Image and file inputs are not built yet: they read as text inputs so
  // their values still reach the submission.
  return std::make_unique<TEditFormControlObj>(root, form, attributes, type, properties);
}

std::unique_ptr<TFormControlObj> MakeControl(TSectionList* root, ThtmlForm* form, THtmlSymbol symbol,
                                             const TAttributeList& attributes, TProperties& properties) {
  if (symbol == symTextarea) return std::make_unique<TTextAreaFormControlObj>(root, form, attributes, properties);
  if (symbol != symSelect) return MakeInput(root, form, attributes, properties);
  const TAttribute* attribute = nullptr;
  const bool list = attributes.Find(symMultiple, attribute) || (attributes.Find(symSize, attribute) && attribute->Value > 1);
  if (list) return std::make_unique<TListBoxFormControlObj>(root, form, attributes, properties);
  return std::make_unique<TComboFormControlObj>(root, form, attributes, properties);
}

TParsedControl* AddFormControl(TSection& section, THtmlSymbol symbol, TProperties& properties) {
  if (symbol != symInput && symbol != symSelect && symbol != symTextarea) return nullptr;
  TSectionList* root = buildState.Root;
  auto* form = static_cast<ThtmlForm*>(buildState.CurrentForm);
  if (form == nullptr) {
    form = ThtmlForm::Create(root, nullptr);
    buildState.CurrentForm = form;
  }
  std::unique_ptr<TFormControlObj> control = MakeControl(root, form, symbol, parseState.Attributes, properties);
  TFormControlObj* made = control.get();
  if (made->IsHidden()) {
    form->AdoptControl(std::move(control));
  } else if (section.AppendObject(std::move(control), parseState.TagStartPosition) == nullptr) {
    // A finished section refused it and freed it: forget it again.
    if (root && !root->FormControlList.empty() && root->FormControlList.back() == made)
      root->FormControlList.pop_back();
    return nullptr;
  }
  form->AddControl(made);
  return made;
}

}  // namespace

void InstallFormHooks() {
  TBuilderSeams& seams = BuilderSeams();
  seams.AddFormControl = AddFormControl;
  seams.CreateForm = []() -> void* { return ThtmlForm::Create(buildState.Root, &parseState.Attributes); };
}

void RemoveFormHooks() {
  BuilderSeams().AddFormControl = nullptr;
  BuilderSeams().CreateForm = nullptr;
}

}  // namespace engine
