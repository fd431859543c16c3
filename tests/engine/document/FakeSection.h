#pragma once
// A section of fixed height and character count for cell and root tests: it
// answers look-ups with fixed values and counts the calls it gets.
#include <memory>

#include "engine/document/EProcessError.h"
#include "engine/document/SelTextCount.h"
#include "engine/document/TSectionBase.h"

namespace engine::testing {

class FakeSection : public TSectionBase {
 public:
  FakeSection(TSectionList* document, int height, int chars) : TSectionBase(document), chars_(chars) {
    SectionHeight = height;
  }
  std::unique_ptr<TSectionBase> CreateCopy(TSectionList* document) const override {
    auto copy = std::make_unique<FakeSection>(document, SectionHeight, chars_);
    copy->ZOrder = ZOrder;
    return copy;
  }
  int LayoutSection(gui::TCanvas* canvas, int X, int Y, int XRef, int YRef, int Width, int AHeight, int BlockHeight,
                    IndentManager& IMgr, int& MaxWidth, int& Curs) override {
    ++layouts;
    if (throwOnLayout) throw EProcessError("cannot lay out");
    int height = TSectionBase::LayoutSection(canvas, X, Y, XRef, YRef, Width, AHeight, BlockHeight, IMgr, MaxWidth, Curs);
    CharCount = chars_;
    Curs += chars_;
    MaxWidth = width;
    layoutX = X;
    return height;
  }
  int PaintSection(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& IMgr, int X, int XRef,
                   int YRef) override {
    ++paints;
    return TSectionBase::PaintSection(canvas, clipRect, IMgr, X, XRef, YRef);
  }
  int CursorAtPoint(gui::TCanvas*, int, int, int&, int&, int&, bool&) override {
    ++hits;
    return cursorAnswer;
  }
  bool CharAtPosition(int Position, char16_t& Ch, TIDObject*&) override {
    ++charQueries;
    if (Position < FirstCharPos || Position >= FirstCharPos + CharCount) return false;
    Ch = u'a';
    return true;
  }
  int SearchForward(int Position, const std::u16string&, bool) override {
    return Position <= FirstCharPos + CharCount && CharCount > 0 && matches ? std::max(Position, FirstCharPos) : -1;
  }
  int SearchBackward(int Position, const std::u16string&, bool) override {
    return FirstCharPos < Position && CharCount > 0 && matches ? FirstCharPos : -1;
  }
  int SourcePosToDocPos(int SourcePos, bool) override { return SourcePos == sourcePos ? FirstCharPos : -1; }
  bool CursorToXY(gui::TCanvas*, int Position, int& X, int& Y) override {
    if (Position < FirstCharPos || Position >= FirstCharPos + CharCount) return false;
    X = layoutX + (Position - FirstCharPos);
    Y = TopY;
    return true;
  }
  void CopyToSelectionBuffer(SelTextCount& buffer) override {
    std::u16string text(static_cast<std::size_t>(chars_), u'x');
    buffer.Append(text.data(), chars_);
  }
  void MeasureWidthRange(gui::TCanvas*, int& MinWidth, int& MaxWidth) override {
    MinWidth = minWidth;
    MaxWidth = width;
  }

  int width = 0;
  int minWidth = 0;
  int cursorAnswer = -1;
  int sourcePos = -1;
  bool matches = false;
  bool throwOnLayout = false;
  int layouts = 0;
  int paints = 0;
  int hits = 0;
  int charQueries = 0;
  int layoutX = 0;

 private:
  int chars_;
};

}  // namespace engine::testing
