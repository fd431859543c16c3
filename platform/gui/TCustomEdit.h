#pragma once
// The editing control that TEdit and TMemo share. Its text is UTF-16 and is
// shown in rows: one for an edit, the displayed lines of a memo. The caret
// and selection are positions in the text (UTF-16 units); the selection
// runs between an anchor and the caret. Typing goes through OnKeyPress
// first, which may change the key or swallow it (#0).
//
// Platform decisions the class library leaves to the window system:
// - Coordinates of mouse messages are the window's; ClientRect/ClientWidth/
//   ClientHeight are the area inside the border (2 pixels, sunken, with
//   BorderStyle bsSingle) and the scroll bars, so SetClientWidth and
//   SetClientHeight size the control around a wanted text area.
// - Text starts one pixel inside that area; an edit's row is centred in it.
// - MaxLength limits what the user types or pastes (0: no limit); text set
//   by the program is kept whole.
// - The selection shows only while the control has the focus.
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/ClassicLook.h"
#include "platform/gui/ScrollBarTracker.h"
#include "platform/gui/TCustomControl.h"
#include "platform/gui/TCustomPanel.h"

namespace gui {

class TCustomEdit : public TCustomControl {
 public:
  explicit TCustomEdit(TComponent* AOwner);
  ~TCustomEdit() override;

  const std::u16string& Text() const { return text_; }
  // Replaces the text, puts the caret at its start and runs OnChange.
  void SetText(const std::u16string& Value);
  int GetTextLen() const { return static_cast<int>(text_.size()); }
  void Clear() { SetText(u""); }

  int SelStart() const;
  int SelLength() const;
  // Moves the caret there (clamped) with an empty selection.
  void SetSelStart(int Value);
  // Selects Value units from SelStart (clamped; negative selects backwards).
  void SetSelLength(int Value);
  std::u16string SelText() const;
  // Replaces the selection as typing would, but also when ReadOnly.
  void SetSelText(const std::u16string& Value);
  void SelectAll();
  void ClearSelection();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();

  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int Value) { maxLength_ = Value < 0 ? 0 : Value; }
  char16_t PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char16_t Value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool Value) { readOnly_ = Value; }
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle Value);
  bool Modified() const { return modified_; }
  void SetModified(bool Value) { modified_ = Value; }

  win::RECT ClientRect() const override;
  void SetClientWidth(int Value);
  void SetClientHeight(int Value);
  // The rows as shown (without their line breaks).
  int RowCount() const { return static_cast<int>(rows_.size()); }
  std::u16string RowText(int Index) const;
  // The caret's row and its place in the window (left of the character).
  int CaretRow() const { return RowOf(caret_); }
  win::POINT CaretPoint() const;

  void WndProc(TMessage& Message) override;

  TNotifyEvent OnChange;

 protected:
  struct Row {
    int start = 0;
    int length = 0;       // shown characters
    int breakLength = 0;  // line-break characters after them (0 at a soft wrap)
  };
  // Splits the text into rows for the given width of the text area.
  virtual void BuildRows(int TextWidth);
  virtual bool MultiLine() const { return false; }
  // Rows break at the text area's width (so no horizontal scrolling).
  virtual bool WrapsRows() const { return false; }
  virtual bool WantReturns() const { return false; }
  virtual bool WantTabs() const { return false; }
  // Which scroll bars show (the memo's); none for an edit.
  virtual bool HasVerticalBar() const { return false; }
  virtual bool HasHorizontalBar() const { return false; }
  virtual void Change();
  void KeyDown(win::WORD& Key, TShiftState Shift) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, win::POINT MousePos) override;
  void Paint() override;
  bool EraseBackground(win::HDC) override { return true; }
  void FontChanged() override;
  void Resize() override;

  const std::vector<Row>& Rows() const { return rows_; }
  void SetRows(std::vector<Row> Value) { rows_ = std::move(Value); }
  // Ends[i]: the width of the displayed text from Start to Start + i + 1.
  void MeasureText(int Start, int Length, std::vector<int>& Ends) const;
  void MeasureRow(int RowIndex, std::vector<int>& Ends) const;
  // Sizes the control to its font, where it does (the edit's AutoSize).
  virtual void AdjustHeight() {}
  int LineHeight() const { return lineHeight_; }
  int BorderWidth() const { return borderStyle_ == bsSingle ? 2 : 0; }
  // The text area inside the border and the bars, in window coordinates.
  win::RECT TextArea() const;
  // Rebuilds the rows and keeps the caret in view.
  void Reflow();

 private:
  std::u16string Displayed(int Start, int Length) const;
  int RowOf(int Position) const;
  int RowTop(int RowIndex) const;
  int XOfPosition(int Position) const;
  int PositionAt(win::POINT Point) const;
  int VisibleRows() const;
  void MoveCaret(int Position, bool Extend);
  void Replace(const std::u16string& Inserted, bool ByUser);
  void TypeCharacter(char16_t Character);
  void HandleChar(TMessage& Message);
  void HandleMouse(TMessage& Message);
  void MoveByKey(win::WORD Key, TShiftState Shift);
  int WordStart(int Position) const;
  int WordEnd(int Position) const;
  void ScrollCaretIntoView();
  void ScrollTo(int TopRow, int ScrollX);
  void UpdateCaret();
  win::RECT VerticalBarRect() const;
  win::RECT HorizontalBarRect() const;
  win::SCROLLINFO BarInfo(bool Vertical) const;
  void BarRequest(bool Vertical, win::WORD Code, int Position);
  int WidestRow() const;
  void PaintRow(TCanvas& Canvas, int RowIndex, const win::RECT& Area);

  std::u16string text_;
  std::vector<Row> rows_;
  int widest_ = 0;  // the widest row's width, where rows scroll sideways
  mutable std::unique_ptr<FontMeasure> measure_;
  int anchor_ = 0;
  int caret_ = 0;
  int maxLength_ = 0;
  char16_t passwordChar_ = 0;
  bool readOnly_ = false;
  bool modified_ = false;
  TBorderStyle borderStyle_ = bsSingle;
  int lineHeight_ = 0;
  int topRow_ = 0;
  int scrollX_ = 0;
  char16_t pendingHighSurrogate_ = 0;
  bool selecting_ = false;  // the left button is down in the text
  bool trackingVertical_ = false;
  ScrollBarTracker barTracker_;
};

}  // namespace gui
