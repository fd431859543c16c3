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
#include "engine/objects/TImageFormControlObj.h"
#include "engine/objects/TImageObj.h"
#include "engine/objects/THiddenFormControlObj.h"
#include "engine/objects/TListBoxFormControlObj.h"
#include "engine/objects/TRadioButtonFormControlObj.h"
#include "engine/objects/TTextAreaFormControlObj.h"
#include "engine/objects/ThtmlForm.h"
#include "engine/text/TSection.h"

namespace engine {

namespace {

// INPUT TYPE as the builder reads it: lower case, at most 20 characters.
std::string InputType(const TAttributeList& attributes) {
  const TAttribute* type = nullptr;
  return attributes.Find(symType, type) ? LowerCase(type->ValueText.substr(0, 20)) : "text";
}

std::unique_ptr<TFormControlObj> MakeInput(TSectionList* root, ThtmlForm* form, const std::string& type,
                                           const TAttributeList& attributes, TProperties& properties) {
  if (type == "hidden") return std::make_unique<THiddenFormControlObj>(root, form, attributes);
  if (type == "checkbox") return std::make_unique<TCheckBoxFormControlObj>(root, form, attributes, properties);
  if (type == "radio") return std::make_unique<TRadioButtonFormControlObj>(root, form, attributes, properties);
  if (type == "submit" || type == "reset" || type == "button")
    return std::make_unique<TButtonFormControlObj>(root, form, attributes, type, properties);
  return std::make_unique<TEditFormControlObj>(root, form, attributes, type, properties);
}

std::unique_ptr<TFormControlObj> MakeControl(TSectionList* root, ThtmlForm* form, THtmlSymbol symbol,
                                             const TAttributeList& attributes, TProperties& properties) {
  if (symbol == symTextarea) return std::make_unique<TTextAreaFormControlObj>(root, form, attributes, properties);
  if (symbol != symSelect) return MakeInput(root, form, InputType(attributes), attributes, properties);
  const TAttribute* attribute = nullptr;
  const bool list = attributes.Find(symMultiple, attribute) || (attributes.Find(symSize, attribute) && attribute->Value > 1);
  if (list) return std::make_unique<TListBoxFormControlObj>(root, form, attributes, properties);
  return std::make_unique<TComboFormControlObj>(root, form, attributes, properties);
}

// Places a control behind its character in the text; false when the section
// refused it (it is freed then and leaves the document's list again).
bool PlaceControl(TSection& section, TSectionList* root, std::unique_ptr<TFormControlObj> control) {
  TFormControlObj* made = control.get();
  if (section.AppendObject(std::move(control), parseState.TagStartPosition) != nullptr) return true;
  if (root && !root->FormControlList.empty() && root->FormControlList.back() == made) root->FormControlList.pop_back();
  return false;
}

// An image input: the picture stands in the text, the form owns the control.
TFormControlObj* AddImageInput(TSection& section, TSectionList* root, ThtmlForm* form, TProperties& properties) {
  auto picture = std::make_unique<TImageObj>(root, &parseState.Attributes, 0);
  auto control = std::make_unique<TImageFormControlObj>(root, form, parseState.Attributes, properties);
  TImageFormControlObj* made = control.get();
  if (auto* placed = static_cast<TImageObj*>(section.AppendObject(std::move(picture), parseState.TagStartPosition)))
    made->AttachImage(placed);
  form->AdoptControl(std::move(control));
  form->AddControl(made);
  return made;
}

// A file input is a text input (with the name, value and id; its text
// starts empty) followed by a browse button that fills it.
TFormControlObj* AddFileInput(TSection& section, TSectionList* root, ThtmlForm* form, TProperties& properties) {
  auto edit = std::make_unique<TEditFormControlObj>(root, form, parseState.Attributes, "file", properties);
  TEditFormControlObj* text = edit.get();
  text->Value.clear();
  text->ResetToDefault();
  if (!PlaceControl(section, root, std::move(edit))) return nullptr;
  form->AddControl(text);
  // The button takes the element's other attributes (TABINDEX, DISABLED, TITLE).
  TAttributeList buttonAttributes;
  for (const auto& attribute : parseState.Attributes)
    if (attribute->Symbol != symId && attribute->Symbol != symName && attribute->Symbol != symValue)
      buttonAttributes.Add(std::make_unique<TAttribute>(*attribute));
  auto button = std::make_unique<TButtonFormControlObj>(root, form, buttonAttributes, "file", properties);
  TButtonFormControlObj* browse = button.get();
  browse->FileEdit = text;
  if (PlaceControl(section, root, std::move(button))) form->AddControl(browse);
  return text;
}

TParsedControl* AddFormControl(TSection& section, THtmlSymbol symbol, TProperties& properties) {
  if (symbol != symInput && symbol != symSelect && symbol != symTextarea) return nullptr;
  TSectionList* root = buildState.Root;
  auto* form = static_cast<ThtmlForm*>(buildState.CurrentForm);
  if (form == nullptr) {
    form = ThtmlForm::Create(root, nullptr);
    buildState.CurrentForm = form;
  }
  if (symbol == symInput) {
    const std::string type = InputType(parseState.Attributes);
    if (type == "image") return AddImageInput(section, root, form, properties);
    if (type == "file") return AddFileInput(section, root, form, properties);
  }
  std::unique_ptr<TFormControlObj> control = MakeControl(root, form, symbol, parseState.Attributes, properties);
  TFormControlObj* made = control.get();
  if (made->IsHidden()) form->AdoptControl(std::move(control));
  else if (!PlaceControl(section, root, std::move(control))) return nullptr;
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
