// TCellBasic: layout, paint and the delegations of a flow of sections.
#include "engine/document/TCellBasic.h"

#include <algorithm>

#include "engine/document/EProcessError.h"
#include "engine/document/IndentManager.h"
#include "engine/document/SaturatedMath.h"
#include "engine/document/SelTextCount.h"
#include "engine/document/TBlock.h"
#include "engine/document/TBlockLI.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TUrlTarget.h"
#include "platform/win/user/MessageBoxes.h"

namespace engine {

namespace {

bool CanHit(const TSectionBase& section, int Y) {
  return !section.LayoutFailed && section.PaintTop <= Y && Y < section.PaintBottom;
}

// A failed section keeps its place as an empty one at Y.
void LayOutEmpty(TSectionBase& section, int Y, int Curs) {
  section.FirstCharPos = Curs;
  section.CharCount = 0;
  section.SectionHeight = section.PaintHeight = 0;
  section.TopY = section.ContentTop = section.PaintTop = Y;
  section.ContentBottom = section.PaintBottom = Y;
}

}  // namespace

TCellBasic::TCellBasic(TSectionList* document) : Document(document) {}

TCellBasic::TCellBasic(TSectionList* document, const TCellBasic& source) : Document(document) {
  Tag = source.Tag;
  for (const auto& section : source) AddSection(section->CreateCopy(document), 0);
}

TCellBasic::~TCellBasic() = default;

TCellBasic::FlowTag TCellBasic::FlowTagOf(std::string_view tag) {
  if (tag == "default") return FlowTag::Document;
  if (tag == "body") return FlowTag::Body;
  if (tag == "li") return FlowTag::ListItem;
  return FlowTag::Other;
}

void TCellBasic::AddSection(std::unique_ptr<TSectionBase> section, int sourcePos) {
  if (!section) return;
  if (!section->FinishForCell(sourcePos)) return;  // dropped: freed here
  TSectionBase::SetDocument(*section, Document);
  Add(std::move(section));
  indexed_ = false;
}

void TCellBasic::Clear() {
  TFreeList<TSectionBase>::Clear();
  index_.reset();
  indexed_ = false;
}

int TCellBasic::LayoutOne(TSectionBase& section, gui::TCanvas* canvas, int X, int Y, int XRef, int YRef, int Width,
                          int AHeight, int BlockHeight, int& MaxWidth, int& Curs) {
  MaxWidth = 0;
  if (!section.LayoutFailed) {
    int before = Curs;
    IndentManager unused;  // a cell always has a manager once it is in a document
    try {
      return section.LayoutSection(canvas, X, Y, XRef, YRef, Width, AHeight, BlockHeight, IMgr ? *IMgr : unused,
                                   MaxWidth, Curs);
    } catch (const EProcessError& error) {
      // NOTE: the section stays in the list (other lists point into it); it is
      // laid out empty from now on and skipped by paint and hit tests.
      section.LayoutFailed = true;
      Curs = before;
      MaxWidth = 0;
      win::MessageBoxA(0, error.Message().c_str(), "Error", win::MB_ICONERROR | win::MB_OK);
    }
  }
  LayOutEmpty(section, Y, Curs);
  return 0;
}

int TCellBasic::LayoutContent(gui::TCanvas* canvas, int Y, int Width, int AHeight, int BlockHeight, int& MaxWidth,
                              int& Curs) {
  StartY = Y;
  FirstCharPos = Curs;
  MaxWidth = 0;
  int total = 0;
  StartIndexing();
  int index = 0;
  for (const auto& section : *this) {
    int sectionMax = 0;
    int height = LayoutOne(*section, canvas, 0, SatAdd(Y, total), 0, 0, Width, AHeight, BlockHeight, sectionMax, Curs);
    total = SatAdd(total, height);
    MaxWidth = std::max(MaxWidth, sectionMax);
    NoteLaidOut(index++, *section);
  }
  CharCount = Curs - FirstCharPos;
  FinishIndexing();
  return total;
}

int TCellBasic::LayoutWithFloats(gui::TCanvas* canvas, int Y, int Width, int AHeight, int BlockHeight, int& MaxWidth,
                                 int& Curs) {
  IMgr->Clear();
  IMgr->Init(0, Width);
  IMgr->Width = Width;
  const void* previous = IMgr->CurrentBlock;
  IMgr->CurrentBlock = this;
  IMgr->SetOwnEdges(0, Width, Y);
  int height = TCellBasic::LayoutContent(canvas, Y, Width, AHeight, BlockHeight, MaxWidth, Curs);
  IMgr->ClearOwnEdges();
  int floatsBottom = IMgr->FloatsBottom();
  IMgr->CurrentBlock = previous;
  return std::max(height, SatSub(floatsBottom, StartY));
}

int TCellBasic::PaintWithFloats(gui::TCanvas* canvas, const win::RECT& clipRect, int ClipWidth, int Width, int X, int Y,
                                int XRef, int YRef) {
  IMgr->Init(X, SatAdd(X, Width));
  IMgr->Width = Width;
  return TCellBasic::PaintContent(canvas, clipRect, ClipWidth, X, Y, XRef, YRef);
}

void TCellBasic::MeasureWidthRange(gui::TCanvas* canvas, int& MinWidth, int& MaxWidth) {
  MinWidth = 0;
  MaxWidth = 0;
  for (const auto& section : *this) {
    int sectionMin = 0;
    int sectionMax = 0;
    section->MeasureWidthRange(canvas, sectionMin, sectionMax);
    MinWidth = std::max(MinWidth, sectionMin);
    MaxWidth = std::max(MaxWidth, sectionMax);
  }
}

bool TCellBasic::MinWidthWithin(gui::TCanvas* canvas, int Limit) {
  for (const auto& section : *this)
    if (!section->MinWidthWithin(canvas, Limit)) return false;
  return true;
}

void TCellBasic::StartIndexing() {
  indexed_ = false;
  if (Count() < kIndexFrom) {
    index_.reset();
    return;
  }
  if (!index_) index_ = std::make_unique<LayoutIndex>();
  const auto count = static_cast<std::size_t>(Count());
  index_->maxBottom.resize(count);
  index_->minTop.resize(count);
  index_->outsideRange.clear();
  index_->runningMax = INT32_MIN;
}

void TCellBasic::NoteLaidOut(int index, const TSectionBase& section) {
  if (!index_) return;
  LayoutIndex& layoutIndex = *index_;
  const auto at = static_cast<std::size_t>(index);
  if (at >= layoutIndex.maxBottom.size()) return;
  if (!section.LayoutFailed) layoutIndex.runningMax = std::max(layoutIndex.runningMax, section.PaintBottom);
  layoutIndex.maxBottom[at] = layoutIndex.runningMax;
  // The minimum from the end is taken once every top is known.
  layoutIndex.minTop[at] = section.LayoutFailed ? INT32_MAX : section.PaintTop;
  if (section.PaintsOutsideRange) layoutIndex.outsideRange.push_back(index);
}

void TCellBasic::FinishIndexing() {
  indexed_ = true;
  if (!index_) return;
  int runningMin = INT32_MAX;
  for (auto top = index_->minTop.rbegin(); top != index_->minTop.rend(); ++top) {
    runningMin = std::min(runningMin, *top);
    *top = runningMin;
  }
}

const TCellBasic::LayoutIndex* TCellBasic::Indexed() const {
  if (!indexed_ || !index_ || index_->maxBottom.size() != static_cast<std::size_t>(Count())) return nullptr;
  return index_.get();
}

void TCellBasic::RowRange(int Y, int& first, int& last) const {
  const LayoutIndex* index = Indexed();
  if (index == nullptr) {
    first = 0;
    last = Count();
    return;
  }
  // Sections before first end at or above Y; sections from last on start below it.
  first = static_cast<int>(std::upper_bound(index->maxBottom.begin(), index->maxBottom.end(), Y) -
                           index->maxBottom.begin());
  last = static_cast<int>(std::upper_bound(index->minTop.begin(), index->minTop.end(), Y) - index->minTop.begin());
  last = std::max(last, first);
}

int TCellBasic::FirstForPosition(int Position) const {
  // FirstCharPos + CharCount grows with the index (positions run without gaps).
  int low = 0;
  int high = Count();
  while (low < high) {
    int mid = low + (high - low) / 2;
    const TSectionBase& section = *Items(mid);
    if (section.FirstCharPos + section.CharCount < Position) low = mid + 1;
    else high = mid;
  }
  return low;
}

int TCellBasic::PaintSections(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& mgr, int X, int XRef,
                              int YRef, int Y) {
  int count = Count();
  if (count == 0) return Y;
  int first = 0;
  int last = count;
  const LayoutIndex* index = Indexed();
  const bool indexed = index != nullptr;
  if (indexed) {
    int offset = Document != nullptr ? Document->YOffset : 0;
    int top = SatAdd(clipRect.top, offset);
    int bottom = SatAdd(clipRect.bottom, offset);
    first = static_cast<int>(std::upper_bound(index->maxBottom.begin(), index->maxBottom.end(), top) -
                             index->maxBottom.begin());
    last = static_cast<int>(std::lower_bound(index->minTop.begin(), index->minTop.end(), bottom) -
                            index->minTop.begin());
    last = std::max(last, first);
  }
  auto paint = [&](int index) {
    TSectionBase& section = *Items(index);
    if (!section.LayoutFailed) section.PaintSection(canvas, clipRect, mgr, X, XRef, YRef);
  };
  // Sections outside [first, last) cannot draw in the clip, except those that
  // draw anywhere; list order is kept so overlaps come out the same.
  static const std::vector<int> kNone;
  const std::vector<int>& outsideRange = indexed ? index->outsideRange : kNone;
  auto outside = outsideRange.begin();
  for (; outside != outsideRange.end() && *outside < first; ++outside) paint(*outside);
  for (int i = first; i < last; ++i) {
    if (i == count - 1) break;
    paint(i);
  }
  if (indexed)
    for (; outside != outsideRange.end(); ++outside)
      if (*outside >= last && *outside != count - 1) paint(*outside);
  // The answer is the last section's; one left out answers as the base does.
  TSectionBase& lastSection = *Items(count - 1);
  bool paintLast = !indexed || (count - 1 >= first && count - 1 < last) || lastSection.PaintsOutsideRange;
  if (paintLast && !lastSection.LayoutFailed)
    return lastSection.PaintSection(canvas, clipRect, mgr, X, XRef, YRef);
  return SatAdd(lastSection.ContentTop, lastSection.SectionHeight);
}

int TCellBasic::PaintContent(gui::TCanvas* canvas, const win::RECT& clipRect, int /*ClipWidth*/, int X, int Y,
                             int XRef, int YRef) {
  if (IMgr == nullptr) return Y;
  return PaintSections(canvas, clipRect, *IMgr, X, XRef, YRef, Y);
}

std::uint8_t TCellBasic::LinkAtPoint(gui::TCanvas* canvas, int X, int Y, std::unique_ptr<TUrlTarget>& UrlTarget,
                                     TFormControlObj*& FormControl, std::string& Title) {
  UrlTarget.reset();
  FormControl = nullptr;
  int first = 0;
  int last = 0;
  RowRange(Y, first, last);
  for (int i = first; i < last; ++i) {
    TSectionBase& section = *Items(i);
    if (!CanHit(section, Y)) continue;
    std::uint8_t flags = section.LinkAtPoint(canvas, X, Y, UrlTarget, FormControl, Title);
    if (flags != 0) return flags;
  }
  return 0;
}

bool TCellBasic::ObjectAtPoint(int X, int Y, TIDObject*& Obj, int& IX, int& IY) {
  Obj = nullptr;
  int first = 0;
  int last = 0;
  RowRange(Y, first, last);
  for (int i = first; i < last; ++i) {
    TSectionBase& section = *Items(i);
    if (CanHit(section, Y) && section.ObjectAtPoint(X, Y, Obj, IX, IY)) return true;
  }
  return false;
}

int TCellBasic::CursorAtPoint(gui::TCanvas* canvas, int X, int Y, int& XR, int& YR, int& CaretHeight,
                              bool& InText) {
  int first = 0;
  int last = 0;
  RowRange(Y, first, last);
  for (int i = first; i < last; ++i) {
    TSectionBase& section = *Items(i);
    if (!CanHit(section, Y)) continue;
    int result = section.CursorAtPoint(canvas, X, Y, XR, YR, CaretHeight, InText);
    if (result >= 0) return result;
  }
  return -1;
}

void TCellBasic::BuildPositionList(std::vector<TSectionBase*>& list) {
  for (const auto& section : *this) section->AddToPositionList(list);
}

int TCellBasic::SearchForward(int Position, const std::u16string& Text, bool MatchCase) {
  for (int i = FirstForPosition(Position); i < Count(); ++i) {
    if (Items(i)->LayoutFailed) continue;
    int result = Items(i)->SearchForward(Position, Text, MatchCase);
    if (result >= 0) return result;
  }
  return -1;
}

int TCellBasic::SearchBackward(int Position, const std::u16string& Text, bool MatchCase) {
  for (int i = Count() - 1; i >= 0; --i) {
    TSectionBase& section = *Items(i);
    // A match before Position lies in a section that starts before it.
    if (section.LayoutFailed || section.FirstCharPos >= Position) continue;
    int result = section.SearchBackward(Position, Text, MatchCase);
    if (result >= 0) return result;
  }
  return -1;
}

int TCellBasic::DocPosToSourcePos(int Position) {
  for (int i = FirstForPosition(Position); i < Count(); ++i) {
    if (Items(i)->LayoutFailed) continue;
    int result = Items(i)->DocPosToSourcePos(Position);
    if (result >= 0) return result;
  }
  return -1;
}

int TCellBasic::SourcePosToDocPos(int SourcePos, bool Previous) {
  if (Previous) {
    for (int i = Count() - 1; i >= 0; --i) {
      if (Items(i)->LayoutFailed) continue;
      int result = Items(i)->SourcePosToDocPos(SourcePos, true);
      if (result >= 0) return result;
    }
    return -1;
  }
  for (const auto& section : *this) {
    if (section->LayoutFailed) continue;
    int result = section->SourcePosToDocPos(SourcePos, false);
    if (result >= 0) return result;
  }
  return -1;
}

bool TCellBasic::CursorToXY(gui::TCanvas* canvas, int Position, int& X, int& Y) {
  for (int i = FirstForPosition(Position); i < Count(); ++i) {
    if (!Items(i)->LayoutFailed && Items(i)->CursorToXY(canvas, Position, X, Y)) return true;
  }
  return false;
}

bool TCellBasic::CharAtPosition(int Position, char16_t& Ch, TIDObject*& Obj) {
  if (Position < FirstCharPos || Position > FirstCharPos + CharCount) return false;
  for (int i = FirstForPosition(Position); i < Count(); ++i) {
    TSectionBase& section = *Items(i);
    if (section.FirstCharPos > Position) break;
    if (!section.LayoutFailed && section.CharAtPosition(Position, Ch, Obj)) return true;
  }
  return false;
}

void TCellBasic::CopyToSelectionBuffer(SelTextCount& buffer, int selStart, int selEnd) {
  if (Document == nullptr || selStart >= selEnd) return;
  for (int i = FirstForPosition(selStart); i < Count(); ++i) {
    TSectionBase& section = *Items(i);
    if (section.FirstCharPos >= selEnd) break;
    if (!section.LayoutFailed && selStart < section.FirstCharPos + section.CharCount)
      section.CopyToSelectionBuffer(buffer);
  }
}

bool TCellBasic::ClearLastBlockMargin() {
  for (int i = Count() - 1; i >= 0; --i) {
    TSectionBase* item = Items(i);
    TBlock* block = item != nullptr ? item->AsBlock() : nullptr;
    if (block == nullptr || block->Positioning == TBlock::kPosAbsolute) continue;
    if (auto* item = dynamic_cast<TBlockLI*>(block)) return item->MyCell->ClearLastBlockMargin();
    return block->ClearDefaultBottomMargin();
  }
  return false;
}

}  // namespace engine
