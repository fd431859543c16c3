#pragma once
// The form data of a whole document, which the viewer keeps with a history
// entry and gives back when the entry is shown again or the page reloads.
#include <string>
#include <vector>

namespace engine {

class TSectionList;

// One list of "name=value" lines per form, in the document's form order.
using TDocumentFormData = std::vector<std::vector<std::string>>;

// Every form's data (disabled controls included); empty when there are no forms.
TDocumentFormData GetFormData(const TSectionList& document);

// Form i restores its controls from data[i], for as many forms as both have.
// A form that fails ends the restore; the forms before it keep their values.
void SetFormData(TSectionList& document, const TDocumentFormData& data);

}  // namespace engine
