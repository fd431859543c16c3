#pragma once
// TCellBasic: one vertical flow of sections (the body, a block's content, a
// table cell's content). It owns its sections, lays them out one below the
// other, paints them and answers point, position and search questions by
// asking them in order; the first answer wins.
//
// After each layout the cell keeps a running maximum of PaintBottom and a
// running minimum (from the end) of PaintTop, so paints and hit tests start at
// the first section that can reach a Y and stop after the last one, and
// position look-ups search the monotone FirstCharPos by halving.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/common/TFreeList.h"
#include "engine/document/TSectionBase.h"

namespace engine {

class IndentManager;

class TCellBasic : public TFreeList<TSectionBase> {
 public:
  explicit TCellBasic(TSectionList* document);
  // Copies Tag and every section (through its CreateCopy) into document.
  TCellBasic(TSectionList* document, const TCellBasic& source);
  ~TCellBasic() override;

  // Appends section (nullptr: nothing) after letting it finish; a section that
  // asks to be dropped is freed instead.
  void AddSection(std::unique_ptr<TSectionBase> section, int sourcePos);
  // Frees every section.
  void Clear() override;

  virtual int LayoutContent(gui::TCanvas* canvas, int Y, int Width, int AHeight, int BlockHeight, int& MaxWidth,
                            int& Curs);
  virtual void MeasureWidthRange(gui::TCanvas* canvas, int& MinWidth, int& MaxWidth);
  // True when no section's narrowest width exceeds Limit (measures only where it must).
  bool MinWidthWithin(gui::TCanvas* canvas, int Limit);
  virtual int PaintContent(gui::TCanvas* canvas, const win::RECT& clipRect, int ClipWidth, int X, int Y, int XRef,
                           int YRef);
  virtual std::uint8_t LinkAtPoint(gui::TCanvas* canvas, int X, int Y, std::unique_ptr<TUrlTarget>& UrlTarget,
                                   TFormControlObj*& FormControl, std::string& Title);

  bool ObjectAtPoint(int X, int Y, TIDObject*& Obj, int& IX, int& IY);
  int CursorAtPoint(gui::TCanvas* canvas, int X, int Y, int& XR, int& YR, int& CaretHeight, bool& InText);
  void BuildPositionList(std::vector<TSectionBase*>& list);
  int SearchForward(int Position, const std::u16string& Text, bool MatchCase);
  int SearchBackward(int Position, const std::u16string& Text, bool MatchCase);
  int DocPosToSourcePos(int Position);
  int SourcePosToDocPos(int SourcePos, bool Previous);
  bool CursorToXY(gui::TCanvas* canvas, int Position, int& X, int& Y);
  bool CharAtPosition(int Position, char16_t& Ch, TIDObject*& Obj);
  // Copies the sections that meet [selStart, selEnd).
  void CopyToSelectionBuffer(SelTextCount& buffer, int selStart, int selEnd);
  // The parser's end of an element: drops a default bottom margin of the last block.
  bool ClearLastBlockMargin();

  // Paints the sections that can meet the document rows [top, bottom) with the
  // given arguments, in list order (the cells' and blocks' shared paint walk).
  int PaintSections(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& mgr, int X, int XRef, int YRef,
                    int Y);
  // [first, last) of the sections whose hit range can hold document row Y.
  void RowRange(int Y, int& first, int& last) const;

  // The element a flow belongs to, as far as margin rules ask: the document
  // itself, the body, a list item, or any other.
  enum class FlowTag : std::uint8_t { Other, Document, Body, ListItem };
  // The flow tag of a lower-case tag name ("default" names the document).
  static FlowTag FlowTagOf(std::string_view tag);

  TSectionList* Document;
  IndentManager* IMgr = nullptr;
  TBlock* OwnerBlock = nullptr;
  int StartY = 0;
  int FirstCharPos = 0;
  int CharCount = 0;
  int ContentBottom = 0;
  int PaintTop = 0;
  int PaintBottom = 0;

 protected:
  // Lays section at index out, turning an EProcessError into an empty,
  // flagged section that keeps its place.
  int LayoutOne(TSectionBase& section, gui::TCanvas* canvas, int X, int Y, int XRef, int YRef, int Width,
                int AHeight, int BlockHeight, int& MaxWidth, int& Curs);
  // First index whose FirstCharPos + CharCount >= Position.
  int FirstForPosition(int Position) const;
  // The layout and paint of a flow whose floats IMgr keeps (a cell of its
  // own): layout clears the manager, sets it Width wide and answers a height
  // that reaches the lowest float; paint sets it up again for that width.
  int LayoutWithFloats(gui::TCanvas* canvas, int Y, int Width, int AHeight, int BlockHeight, int& MaxWidth, int& Curs);
  int PaintWithFloats(gui::TCanvas* canvas, const win::RECT& clipRect, int ClipWidth, int Width, int X, int Y, int XRef,
                      int YRef);
  // The search indexes, gathered during a layout walk: each section's results are
  // noted just after its layout, while they are still in cache, instead of in
  // walks over every section at the end. Sections must be noted in order.
  void StartIndexing();
  void NoteLaidOut(int index, const TSectionBase& section);
  void FinishIndexing();

 private:
  // Below this many sections a walk over all of them is as quick as the
  // index, which then is not kept (most table cells hold one section).
  static constexpr int kIndexFrom = 8;
  struct LayoutIndex {
    std::vector<int> maxBottom;     // running maximum of PaintBottom, front to back
    std::vector<int> minTop;        // running minimum of PaintTop, back to front
    std::vector<int> outsideRange;  // indexes of the sections that may draw anywhere
    int runningMax = INT32_MIN;     // while gathering: maxBottom so far
  };
  // The index of the current layout; null when not indexed.
  const LayoutIndex* Indexed() const;
  std::unique_ptr<LayoutIndex> index_;
  bool indexed_ = false;

 public:
  // Declared last, beside indexed_: a table holds a cell per grid place, and
  // the two bytes share one word.
  FlowTag Tag = FlowTag::Other;
};

}  // namespace engine
