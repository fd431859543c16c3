#pragma once
// TChPosObj: a named anchor that stands at a source position rather than on an
// element object; it finds its Y through the document's position look-ups.
#include "engine/document/TIDObject.h"

namespace engine {

class TSectionList;

class TChPosObj : public TIDObject {
 public:
  TChPosObj(TSectionList* document, int position) : Document(document), Position(position) {}

  // Y of the caret at the document position of Position; 0 when it cannot be placed.
  int GetDocumentY() override;

  TSectionList* Document;
  int Position;
};

}  // namespace engine
