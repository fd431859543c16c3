#pragma once
// TSectionBase: one piece of a laid-out document (block, text, table, rule,
// page break). It holds the section's place in the document and the sixteen
// operations through which cells, the root and the viewer lay out, paint, hit
// test, search, map positions and select.
//
// Contract with cells: layout runs in list order with the running Y and
// character position; a section sets FirstCharPos to the incoming Curs and
// advances Curs by the positions it holds. After layout [PaintTop, PaintBottom)
// is where the section can be hit, and (unless PaintsOutsideRange) where it draws.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/document/TIDObject.h"
#include "platform/win/Types.h"

namespace gui {
class TCanvas;
}

namespace engine {

class TSectionList;
class TBlock;
class IndentManager;
class TFormControlObj;
class TUrlTarget;
class SelTextCount;

// Hit-test flags of LinkAtPoint.
constexpr std::uint8_t kLinkFlagTarget = 1;
constexpr std::uint8_t kLinkFlagFormControl = 2;
constexpr std::uint8_t kLinkFlagTitle = 4;

// TopY of a section that has not been laid out yet.
constexpr int kNotLaidOutY = 999999999;

class TSectionBase : public TIDObject {
 public:
  explicit TSectionBase(TSectionList* document);
  // The copy constructor behind CreateCopy: SectionHeight and ZOrder of source,
  // everything else fresh, Document the copy's.
  TSectionBase(TSectionList* document, const TSectionBase& source);
  ~TSectionBase() override;

  // The section as a block box, or nullptr: a virtual call where building asks
  // of each new block what stands before it, cheaper than a dynamic_cast.
  virtual TBlock* AsBlock() { return nullptr; }

  // 1. TopY.
  int GetDocumentY() override;
  // 2. A copy of this section for another document (measuring, printing).
  virtual std::unique_ptr<TSectionBase> CreateCopy(TSectionList* document) const;
  // 3. Feeds the selected characters to buffer. Base: nothing.
  virtual void CopyToSelectionBuffer(SelTextCount& buffer);
  // 4. Lays the section out at (X, Y) for Width; returns its height in the flow.
  virtual int LayoutSection(gui::TCanvas* canvas, int X, int Y, int XRef, int YRef, int Width, int AHeight,
                            int BlockHeight, IndentManager& IMgr, int& MaxWidth, int& Curs);
  // 5. Paints what meets clipRect (window coordinates); returns the bottom Y covered.
  virtual int PaintSection(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& IMgr, int X, int XRef,
                           int YRef);
  // 6. Link flags (kLinkFlag*) at a document point. A returned UrlTarget is the caller's.
  virtual std::uint8_t LinkAtPoint(gui::TCanvas* canvas, int X, int Y, std::unique_ptr<TUrlTarget>& UrlTarget,
                                   TFormControlObj*& FormControl, std::string& Title);
  // 7. The image or control under the point, with the point relative to it.
  virtual bool ObjectAtPoint(int X, int Y, TIDObject*& Obj, int& IX, int& IY);
  // 8. Document character position under the point; -1 for none.
  virtual int CursorAtPoint(gui::TCanvas* canvas, int X, int Y, int& XR, int& YR, int& CaretHeight, bool& InText);
  // 9, 10. First match at or after / last match before Position; -1 for none.
  virtual int SearchForward(int Position, const std::u16string& Text, bool MatchCase);
  virtual int SearchBackward(int Position, const std::u16string& Text, bool MatchCase);
  // 11, 12. Position mapping; -1 for none.
  virtual int DocPosToSourcePos(int Position);
  virtual int SourcePosToDocPos(int SourcePos, bool Previous);
  // 13. Where the caret for Position stands (canvas may be null).
  virtual bool CursorToXY(gui::TCanvas* canvas, int Position, int& X, int& Y);
  // 14. The character (or the object standing in the text) at Position.
  virtual bool CharAtPosition(int Position, char16_t& Ch, TIDObject*& Obj);
  // 15. Narrowest width and unbroken width.
  virtual void MeasureWidthRange(gui::TCanvas* canvas, int& MinWidth, int& MaxWidth);
  // True when the narrowest width is at most Limit. Base: measures; a kind
  // that can bound its narrowest width cheaply answers without measuring.
  virtual bool MinWidthWithin(gui::TCanvas* canvas, int Limit);
  // 16. Appends the leaf sections of this one to the document's position list.
  virtual void AddToPositionList(std::vector<TSectionBase*>& list);

  // Called when a cell adds the section: a section still being built finishes
  // here (sourcePos: where its source ended). False: the cell drops it.
  virtual bool FinishForCell(int sourcePos);

  static void SetDocument(TSectionBase& section, TSectionList* document) { section.Document = document; }

  TBlock* ContainingBlock = nullptr;
  TSectionList* Document = nullptr;
  int SectionHeight = 0;
  int PaintHeight = 0;
  int FirstCharPos = 0;
  int CharCount = 0;
  int ZOrder = 0;
  int TopY = kNotLaidOutY;
  int ContentBottom = 0;
  int ContentLeft = 0;
  int PaintTop = 0;
  int PaintBottom = 0;
  int ContentTop = 0;

  // Set by kinds that can draw outside [PaintTop, PaintBottom) (positioned
  // blocks); cells then never skip them when painting.
  bool PaintsOutsideRange = false;
  // Set by the cell when the section's layout failed: it keeps its place in the
  // document (empty) but is neither painted nor hit.
  bool LayoutFailed = false;
};

}  // namespace engine
