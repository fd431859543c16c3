#include "engine/objects/DocumentFormData.h"

#include <exception>

#include "engine/document/TSectionList.h"
#include "engine/objects/ThtmlForm.h"

namespace engine {

TDocumentFormData GetFormData(const TSectionList& document) {
  TDocumentFormData data;
  data.reserve(document.htmlFormList.size());
  for (const auto& part : document.htmlFormList)
    if (const auto* form = dynamic_cast<const ThtmlForm*>(part.get())) data.push_back(form->GetFormData());
  return data;
}

void SetFormData(TSectionList& document, const TDocumentFormData& data) {
  std::size_t index = 0;
  for (const auto& part : document.htmlFormList) {
    auto* form = dynamic_cast<ThtmlForm*>(part.get());
    if (!form) continue;
    if (index >= data.size()) return;
    try {
      form->SetFormData(data[index++]);
    } catch (const std::exception&) {
      // Saved data that no longer fits the page must not stop the page from showing.
      return;
    }
  }
}

}  // namespace engine
