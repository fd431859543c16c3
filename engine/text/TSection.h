#pragma once
// TSection: one run of inline content: the characters of a paragraph-like
// stretch of text with the images, panels and form controls that stand in it,
// the font runs that colour and size it, and the source position of each
// character. The document builder appends to it; the cell finishes it
// (white-space collapsing); layout cuts it into lines; drawing, hit tests,
// searches and position mapping work on those lines.
//
// Invariants once finished: Len == Text.size(); BreakFlags has Len + 1
// letters; Text, BreakFlags and SourceIndex stand in one piece of the section
// arena that the section owns (until then they show the build buffers); Fonts holds at least one run and the first starts at 0; every
// character 4 or 2 has exactly one object in ImageObjs() or FormControls() at
// its position.
//
// A document holds many small sections (a table cell's text, a line of PRE):
// what only some sections need (objects, the source positions while building)
// is held apart and made on demand, and the one line, run and source index
// entry most sections have are held in place.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/common/SmallVector.h"
#include "engine/document/TSectionBase.h"
#include "engine/text/LineRec.h"
#include "engine/text/TFontList.h"
#include "engine/text/TInlineObject.h"
#include "engine/text/WhiteSpace.h"

namespace gui {
class TCanvas;
}

namespace engine {

class TAttributeList;
class TProperties;
class TokenObj;
class TUrlTarget;
class TLinkList;
class TextMeasurer;

// A compressed map entry: from character position Pos on, source positions
// run on one by one from SourcePos.
struct IndexObj {
  int Pos = 0;
  int SourcePos = 0;
};

class TSection : public TSectionBase {
 public:
  // An empty section for the style of props; a link target with a URL makes
  // its first run a link. firstLineIndent: the section takes the text-indent.
  TSection(TSectionList* document, bool firstLineIndent, const TUrlTarget* linkTarget, TProperties& props,
           TAttributeList* attributes);
  TSection(TSectionList* document, const TSection& source);
  ~TSection() override;

  // Sections and PRE lines come by the ten thousand: both sizes are taken from
  // pools (a few instructions, no heap call each); other sizes from the heap.
  static void* operator new(std::size_t size);
  static void operator delete(void* block, std::size_t size) noexcept;

  std::unique_ptr<TSectionBase> CreateCopy(TSectionList* document) const override;

  // Building (the document builder).
  void AppendChar(char16_t ch, int sourcePos, TProperties& props, bool noBreak);
  void AppendTextRun(const TokenObj& token, TProperties& props, bool noBreak);
  void AllowBreakAfterLast();
  void ChangeFont(TProperties& props);
  // kind '>' starts a link (the run gets the link looks and joins the link
  // list); any other kind ends it.
  void ChangeFontForLink(char kind, TProperties& props, const TUrlTarget& target);
  // Appends an object (image, panel, control) behind its placeholder character.
  TInlineObject* AppendObject(std::unique_ptr<TInlineObject> object, int sourcePos);
  // Finishes the section: white-space collapsing, the source index, the
  // section number. Idempotent.
  virtual void CollapseWhiteSpace(int sourcePos);
  bool FinishForCell(int sourcePos) override;
  // Takes every font run out of the document's link list.
  void Unregister();

  // Layout.
  int LayoutSection(gui::TCanvas* canvas, int X, int Y, int XRef, int YRef, int Width, int AHeight, int BlockHeight,
                    IndentManager& IMgr, int& MaxWidth, int& Curs) override;
  void MeasureWidthRange(gui::TCanvas* canvas, int& MinWidth, int& MaxWidth) override;
  bool MinWidthWithin(gui::TCanvas* canvas, int Limit) override;

  // Drawing.
  int PaintSection(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& IMgr, int X, int XRef,
                   int YRef) override;

  // Lookups.
  std::uint8_t LinkAtPoint(gui::TCanvas* canvas, int X, int Y, std::unique_ptr<TUrlTarget>& UrlTarget,
                           TFormControlObj*& FormControl, std::string& Title) override;
  bool ObjectAtPoint(int X, int Y, TIDObject*& Obj, int& IX, int& IY) override;
  int CursorAtPoint(gui::TCanvas* canvas, int X, int Y, int& XR, int& YR, int& CaretHeight, bool& InText) override;
  bool CursorToXY(gui::TCanvas* canvas, int Position, int& X, int& Y) override;
  bool CharAtPosition(int Position, char16_t& Ch, TIDObject*& Obj) override;
  int SearchForward(int Position, const std::u16string& Text, bool MatchCase) override;
  int SearchBackward(int Position, const std::u16string& Text, bool MatchCase) override;
  int DocPosToSourcePos(int Position) override;
  int SourcePosToDocPos(int SourcePos, bool Previous) override;
  void CopyToSelectionBuffer(SelTextCount& buffer) override;

  bool IsPreformatted() const { return preformatted_; }
  bool Finished() const { return finished_; }
  // The object standing at an index of Text, or nullptr.
  TInlineObject* ObjectAt(int index) const;
  // Images and panels by position (owned), and form controls by position (not owned).
  const std::vector<std::unique_ptr<TInlineObject>>& ImageObjs() const;
  const std::vector<TInlineObject*>& FormControls() const;
  bool HasObjects() const { return objects_ && (!objects_->Images.empty() || !objects_->Controls.empty()); }
  // Whether the section still holds the source positions of its characters
  // (only until it is finished).
  bool HoldsSourcePositions() const { return building_ != nullptr; }

  // The room a section grows in while it is built: the source position, the
  // character and the break flag of each character (Text and BreakFlags show
  // them meanwhile).
  struct BuildBuffers {
    std::vector<int> Positions;
    std::u16string Text;
    std::string Flags;
  };

  int SectionNumber = 0;
  int LayoutCycle = 0;
  // Views of the section's own characters and break flags: the piece it holds
  // once finished, the build buffers while it is built.
  std::u16string_view Text;
  std::string_view BreakFlags;
  // The flags below sit in the bytes the run list leaves free after its own
  // flag (it may share its tail).
  [[no_unique_address]] TFontList Fonts;
  std::uint8_t Justify = 1;  // 1 left, 2 centre, 3 right, 4 full
  std::uint8_t ClearKind = 0;
  bool KeepWhenEmpty = false;
  // An anchor name points at the section (set by the builder): kept even when empty.
  bool AnchorName = false;
  bool BreakWord = false;

 private:
  bool preformatted_ = false;
  bool finished_ = false;

 public:
  std::span<const IndexObj> SourceIndex;
  SmallVector<LineRec> Lines;
  int LineHeight = -1;

 private:
  // Characters in the longest stretch between breakable spaces, counted when
  // the text is finished, while it is at hand; -1 until then.
  int longestStretch_ = -1;

 public:
  int MinWidthCache = 0;
  int MaxWidthCache = 0;
  int FirstLineIndent = 0;
  int IndentPercent = 0;
  int Len = 0;
  // Slot in the document's inline box list while this section is noted there
  // as laid out in the current cycle (-1: not noted).
  int InlineSlot = -1;

 protected:
  // The common end of finishing: final break flag, source index, section number.
  void FinishText();
  void SetPreformatted() { preformatted_ = true; }
  // The build buffers, borrowed on first use; Text and BreakFlags show what
  // they hold again after ShowBuildText.
  BuildBuffers& Building();
  void ShowBuildText();
  // Line layout shared with preformatted sections.
  int LayoutLines(gui::TCanvas* canvas, int X, int Y, int Width, int AHeight, int BlockHeight, IndentManager& IMgr,
                  int& MaxWidth, int& Curs, bool wrap);
  // Width of the characters [start, start + count) with their fonts and objects.
  int MeasureText(gui::TCanvas* canvas, int start, int count);
  template <class Indent>
  int MinimumWordWidth(TextMeasurer& measure, const Indent& withIndent);
  // Calls visit(start, end, first) for each piece no line may break.
  template <class Visit>
  void ForEachUnbreakable(const Visit& visit) const;
  // A width the narrowest width cannot exceed, found without measuring.
  enum class PieceCount { Stretches, Pieces };
  std::int64_t MinWidthBound(PieceCount count) const;
  // The longest stretch between breakable spaces, in characters.
  int LongestStretch() const;

 private:
  friend class SectionLayout;
  friend class SectionPainter;
  TLinkList* DocumentLinks() const;
  void ReportProgress();
  void StartRun(TProperties& props, bool linkState, const TUrlTarget* target);
  void AppendCharacters(std::u16string_view text, const int* positions, char flag);
  // Holds text, flags and index in one new piece of the section arena, which
  // Text, BreakFlags and SourceIndex show from then on.
  void KeepInPiece(std::u16string_view text, std::string_view flags, std::span<const IndexObj> index);
  void ReleasePiece();
  // Layout marks the character after a floating object breakable.
  void SetBreakFlag(int index, char flag);
  void RemapObjects(const PositionMap& map);
  // The source index of the characters built, in a scratch list reused by every section.
  std::span<const IndexObj> BuildSourceIndex() const;
  int LineAtIndex(int index) const;
  int LineAtY(int y) const;

  // The objects standing in the text; made with the first.
  struct ObjectLists {
    std::vector<std::unique_ptr<TInlineObject>> Images;  // images and panels, by position
    std::vector<TInlineObject*> Controls;                // form controls by position; not owned
    // Form controls the section owns until the forms area owns them.
    std::vector<std::unique_ptr<TInlineObject>> OwnedControls;
  };
  ObjectLists& Objects();

  std::unique_ptr<ObjectLists> objects_;
  // Borrowed from a per-thread spare while building, handed back when finished.
  std::unique_ptr<BuildBuffers> building_;
  void* piece_ = nullptr;  // in the section arena
  std::size_t pieceBytes_ = 0;
};

}  // namespace engine
