// TSectionBase: the base defaults of the section operations.
#include "engine/document/TSectionBase.h"

#include "engine/document/SaturatedMath.h"
#include "engine/html/TUrlTarget.h"

namespace engine {

TSectionBase::TSectionBase(TSectionList* document) : Document(document) {}

TSectionBase::TSectionBase(TSectionList* document, const TSectionBase& source)
    : Document(document), SectionHeight(source.SectionHeight), ZOrder(source.ZOrder) {}

TSectionBase::~TSectionBase() = default;

int TSectionBase::GetDocumentY() { return TopY; }

std::unique_ptr<TSectionBase> TSectionBase::CreateCopy(TSectionList* document) const {
  return std::make_unique<TSectionBase>(document, *this);
}

void TSectionBase::CopyToSelectionBuffer(SelTextCount& /*buffer*/) {}

int TSectionBase::LayoutSection(gui::TCanvas* /*canvas*/, int /*X*/, int Y, int /*XRef*/, int /*YRef*/,
                                int /*Width*/, int /*AHeight*/, int /*BlockHeight*/, IndentManager& /*IMgr*/,
                                int& MaxWidth, int& Curs) {
  FirstCharPos = Curs;
  PaintHeight = SectionHeight;
  MaxWidth = 0;
  TopY = PaintTop = ContentTop = Y;
  ContentBottom = SatAdd(Y, SectionHeight);
  PaintBottom = SatAdd(Y, PaintHeight);
  return SectionHeight;
}

int TSectionBase::PaintSection(gui::TCanvas* /*canvas*/, const win::RECT& /*clipRect*/, IndentManager& /*IMgr*/,
                               int /*X*/, int /*XRef*/, int /*YRef*/) {
  return SatAdd(ContentTop, SectionHeight);
}

std::uint8_t TSectionBase::LinkAtPoint(gui::TCanvas* /*canvas*/, int /*X*/, int /*Y*/,
                                       std::unique_ptr<TUrlTarget>& /*UrlTarget*/,
                                       TFormControlObj*& /*FormControl*/, std::string& /*Title*/) {
  return 0;
}

bool TSectionBase::ObjectAtPoint(int /*X*/, int /*Y*/, TIDObject*& /*Obj*/, int& /*IX*/, int& /*IY*/) {
  return false;
}

int TSectionBase::CursorAtPoint(gui::TCanvas* /*canvas*/, int /*X*/, int /*Y*/, int& /*XR*/, int& /*YR*/,
                                int& /*CaretHeight*/, bool& /*InText*/) {
  return -1;
}

int TSectionBase::SearchForward(int /*Position*/, const std::u16string& /*Text*/, bool /*MatchCase*/) { return -1; }
int TSectionBase::SearchBackward(int /*Position*/, const std::u16string& /*Text*/, bool /*MatchCase*/) { return -1; }
int TSectionBase::DocPosToSourcePos(int /*Position*/) { return -1; }
int TSectionBase::SourcePosToDocPos(int /*SourcePos*/, bool /*Previous*/) { return -1; }

bool TSectionBase::CursorToXY(gui::TCanvas* /*canvas*/, int /*Position*/, int& /*X*/, int& /*Y*/) { return false; }

bool TSectionBase::CharAtPosition(int /*Position*/, char16_t& /*Ch*/, TIDObject*& /*Obj*/) { return false; }

void TSectionBase::MeasureWidthRange(gui::TCanvas* /*canvas*/, int& MinWidth, int& MaxWidth) {
  MinWidth = 0;
  MaxWidth = 0;
}

bool TSectionBase::MinWidthWithin(gui::TCanvas* canvas, int Limit) {
  int minWidth = 0;
  int maxWidth = 0;
  MeasureWidthRange(canvas, minWidth, maxWidth);
  return minWidth <= Limit;
}

void TSectionBase::AddToPositionList(std::vector<TSectionBase*>& list) { list.push_back(this); }

bool TSectionBase::FinishForCell(int /*sourcePos*/) { return true; }

}  // namespace engine
