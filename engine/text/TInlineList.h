#pragma once
// TInlineList: the inline elements of a document whose style gives them a
// border, as the builder meets them (source positions), and, after each
// layout, in document character positions. Text sections ask it for the boxes
// that meet a line when they draw that line the first time.
//
// Conversion does what the root's FindDocPos does for every position, in one
// pass: the document's text sections note themselves here at layout; those
// laid out in the latest layout, in document order, answer, each position
// found among them by binary search over their running maximum of last
// source positions. Lines find their boxes
// through a tree of end positions over the records sorted by start, so a line
// costs O(log records + boxes on it), never a scan of the list.
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "engine/css/CssBoxValues.h"
#include "engine/css/CssColors.h"
#include "engine/document/DocumentSeams.h"

namespace engine {

class TSection;
class TSectionList;
class TProperties;

// Document position of a record not resolved yet, and the answer for an index
// outside the list.
constexpr int kUnresolvedEnd = 999999;
constexpr int kNoInlinePosition = 99999999;

struct InlineRec {
  int StartB = 0;
  int EndB = kUnresolvedEnd;
  std::uint32_t ID = 0;  // the element's property entry
  int StartBDoc = 0;
  int EndBDoc = -1;  // -1: the element was never closed (its box runs to the document end)
  TBoxValues BoxValues{};
  TColor TextColor = 0;  // border sides without a colour of their own take it
};

class TInlineList : public IInlineList {
 public:
  void NeedsConverting() override;
  void Clear() override;

  int Count() const { return static_cast<int>(records_.size()); }
  bool Empty() const { return records_.empty(); }
  const InlineRec& Items(int index) const { return records_[static_cast<std::size_t>(index)]; }
  // Resolved document positions; kNoInlinePosition for an index outside the list.
  int StartOf(int index);
  int EndOf(int index);

  // The builder's entries at an element's start and end.
  void MarkStart(int sourcePos, const TProperties& properties);
  void MarkEnd(int sourcePos, const TProperties& properties);

  // A text section of the document that was laid out (noted once); Forget
  // takes a freed section out again.
  void NoteLaidOut(TSection* section);
  void Forget(const TSection* section);

  // The records whose box meets document positions [from, to), in list order
  // (outer elements before the elements inside them).
  void BoxesMeeting(int from, int to, std::vector<const InlineRec*>& boxes);

  bool NeedsConvert = true;

 private:
  void Convert();
  int DocPos(int sourcePos, const std::vector<int>& runningLast) const;
  void BuildIndex();
  void Collect(std::size_t node, std::size_t lo, std::size_t hi, std::size_t limit, int from,
               std::vector<std::size_t>& found) const;

  std::vector<InlineRec> records_;
  std::unordered_map<std::uint32_t, std::size_t> open_;  // ID -> record of an element still open
  std::vector<TSection*> sections_;                        // noted text sections; nullptr once freed
  std::vector<TSection*> answering_;                       // during Convert: those laid out, in document order
  std::vector<std::size_t> byStart_;                       // record indexes sorted by StartB
  std::vector<int> maxEnd_;                                // tree of EndB maxima over byStart_
};

// The document root's entry the builder calls at an element's start and end:
// an element whose style sets a border style gets a box. The root's list is
// made at the first box.
void MarkInlineBox(TSectionList& root, int sourcePos, const TProperties& properties, bool start);
// The root's list, or nullptr when the document has none.
TInlineList* InlineListOf(const TSectionList* root);

// Points the builder's inline box hooks at MarkInlineBox (engine start-up).
void InstallInlineBoxHooks();
void RemoveInlineBoxHooks();

}  // namespace engine
