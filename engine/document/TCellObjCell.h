#pragma once
// TCellObjCell: the content of a table cell, with the cell's title and link,
// which answer for points inside the cell that no section claims. Its floats
// go to the manager its table gives it (IMgr), one for all of the table's
// cells: a cell is laid out and painted whole before the next one starts.
#include <memory>
#include <string>

#include "engine/document/TCellBasic.h"

namespace engine {

class TCellObjCell : public TCellBasic {
 public:
  using TCellBasic::TCellBasic;
  TCellObjCell(TSectionList* document, const TCellObjCell& source);

  // Without a manager (the table has not built its grid) the content is laid
  // out without float bookkeeping and not painted.
  int LayoutContent(gui::TCanvas* canvas, int Y, int Width, int AHeight, int BlockHeight, int& MaxWidth,
                    int& Curs) override;
  int PaintContent(gui::TCanvas* canvas, const win::RECT& clipRect, int ClipWidth, int X, int Y, int XRef,
                   int YRef) override;

  std::uint8_t LinkAtPoint(gui::TCanvas* canvas, int X, int Y, std::unique_ptr<TUrlTarget>& UrlTarget,
                           TFormControlObj*& FormControl, std::string& Title) override;

  // The cell's title, link and link target; empty when not given. Most cells
  // have none, so the three are held apart, only when one is set.
  const std::string& CellTitle() const { return link_ ? link_->CellTitle : kNoText; }
  const std::string& Url() const { return link_ ? link_->Url : kNoText; }
  const std::string& Target() const { return link_ ? link_->Target : kNoText; }
  void SetCellTitle(const std::string& value) { Set(&CellLink::CellTitle, value); }
  void SetUrl(const std::string& value) { Set(&CellLink::Url, value); }
  void SetTarget(const std::string& value) { Set(&CellLink::Target, value); }

  // The cell's place in window coordinates, written when the table paints.
  // Only a cell with a title or link answers for its place, so only such a
  // cell keeps it.
  void SetCellRect(const win::RECT& rect) {
    if (link_) link_->CellRect = rect;
  }

 private:
  struct CellLink {
    std::string CellTitle;
    std::string Url;
    std::string Target;
    win::RECT CellRect{};
  };
  static inline const std::string kNoText;
  int layoutWidth_ = 0;  // the width of the last layout, which paint sets the manager to
  void Set(std::string CellLink::*field, const std::string& value) {
    if (value.empty() && !link_) return;
    if (!link_) link_ = std::make_unique<CellLink>();
    (*link_).*field = value;
  }
  std::unique_ptr<CellLink> link_;
};

}  // namespace engine
