#pragma once
// A memo: text of many lines in rows. With WordWrap (the default) and no
// horizontal scroll bar, a line that is wider than the text area breaks
// after the last blank that fits; the blanks stay at the end of their row
// (they may run past the edge), and a word wider than the row breaks after
// its last character that fits (at least one per row). A horizontal scroll
// bar turns wrapping off, as the classic control does. Enter types CR LF.
// The scroll bars asked for always show (greyed while there is nothing to
// scroll).
#include <string>
#include <vector>

#include "platform/gui/TCustomEdit.h"
#include "platform/gui/TScrollBar.h"

namespace gui {

class TMemo : public TCustomEdit {
 public:
  explicit TMemo(TComponent* AOwner);

  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool Value);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle Value);
  void SetWantReturns(bool Value) { wantReturns_ = Value; }
  void SetWantTabs(bool Value) { wantTabs_ = Value; }
  // The lines as displayed: every row, soft-wrapped rows apart, without line
  // breaks; an empty row after a final line break is not a line.
  std::vector<std::u16string> Lines() const;

 protected:
  void BuildRows(int TextWidth) override;
  bool MultiLine() const override { return true; }
  bool WrapsRows() const override { return wordWrap_ && !HasHorizontalBar(); }
  bool WantReturns() const override { return wantReturns_; }
  bool WantTabs() const override { return wantTabs_; }
  bool HasVerticalBar() const override { return scrollBars_ == ssVertical || scrollBars_ == ssBoth; }
  bool HasHorizontalBar() const override { return scrollBars_ == ssHorizontal || scrollBars_ == ssBoth; }

 private:
  void WrapLine(int Start, int Length, int BreakLength, int TextWidth, std::vector<Row>& Rows) const;

  bool wordWrap_ = true;
  TScrollStyle scrollBars_ = ssNone;
  bool wantReturns_ = true;
  bool wantTabs_ = false;
};

}  // namespace gui
