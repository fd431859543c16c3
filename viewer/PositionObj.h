#pragma once
// PositionObj: one entry of a viewer's history besides its name and title:
// the reading place, the kind of source and the form values the document
// had when it was left.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/objects/DocumentFormData.h"

namespace viewer {

// The values of a document's forms, one list of "name=value" lines per form.
using TFormData = engine::TDocumentFormData;

struct PositionObj {
  std::int64_t SavedPosition = 0;
  int SavedKind = 0;
  std::unique_ptr<TFormData> SavedFormData;
};

}  // namespace viewer
