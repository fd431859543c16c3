#pragma once
// TPage: the PAGE element. It takes no room on screen; when printing it ends
// the printed page where it stands.
#include "engine/document/TSectionBase.h"

namespace engine {

class TPage : public TSectionBase {
 public:
  using TSectionBase::TSectionBase;

  std::unique_ptr<TSectionBase> CreateCopy(TSectionList* document) const override;
  int PaintSection(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& IMgr, int X, int XRef,
                   int YRef) override;
};

}  // namespace engine
