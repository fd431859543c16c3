#pragma once
// ThtmlForm: one form of a document. It keeps the form's ACTION, METHOD,
// TARGET and ENCTYPE, its controls in creation order and its radio groups,
// and builds the submission handed to the document's submit hook.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/document/DocumentSeams.h"
#include "platform/gui/TControl.h"
#include "platform/win/Types.h"

namespace engine {

class TAttributeList;
class TSectionList;
class TFormControlObj;
class TRadioButtonFormControlObj;

class ThtmlForm : public IDocumentPart {
 public:
  // Joins the document's form list (the document owns the form).
  static ThtmlForm* Create(TSectionList* document, const TAttributeList* attributes);
  ThtmlForm(TSectionList* document, const TAttributeList* attributes);

  // Appends a control (not owned; placed controls belong to their section).
  void AddControl(TFormControlObj* control);
  // Hidden inputs have no place in the text: the form owns them.
  void AdoptControl(std::unique_ptr<TFormControlObj> control);
  void ResetControls();
  // Sends the form to the document's submit hook; extra goes last when not empty.
  void SubmitTheForm(const std::string& extra);
  // Every non-empty item of every control, disabled ones too.
  std::vector<std::string> GetFormData() const;
  // Clears every control, then gives each one the lines saved under its name.
  void SetFormData(const std::vector<std::string>& lines);

  // The radio inputs named name (case-insensitive), in creation order.
  std::vector<TRadioButtonFormControlObj*>& RadioGroup(const std::string& name);
  // The group's tab stop while the document is built: its checked radio, else its first.
  TRadioButtonFormControlObj*& RadioLead(const std::string& name);
  // Unchecks the other radios of checked's group; each one that changed
  // tells the host. False when the host cleared the document meanwhile.
  bool UncheckGroup(TRadioButtonFormControlObj* checked);
  // Arrow keys on a radio button move the focus through its group (not past
  // either end); every other key of a radio button or check box goes to the
  // viewer's own key handling.
  void ControlKeyDown(TFormControlObj* sender, win::WORD& key, gui::TShiftState shift);

  TSectionList* Document;
  std::string Method = "Get";
  std::string Action;
  std::string Target;
  std::string EncType;
  std::vector<TFormControlObj*> ControlList;
  int NonHiddenCount = 0;

 private:
  std::vector<std::unique_ptr<TFormControlObj>> ownedControls_;
  std::map<std::string, std::vector<TRadioButtonFormControlObj*>> radioGroups_;
  std::map<std::string, TRadioButtonFormControlObj*> radioLeads_;
};

}  // namespace engine
