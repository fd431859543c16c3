#pragma once
// TCellObjCell: the content of a table cell, with the cell's title and link,
// which answer for points inside the cell that no section claims.
#include <memory>
#include <string>

#include "engine/document/TCell.h"

namespace engine {

class TCellObjCell : public TCell {
 public:
  using TCell::TCell;
  TCellObjCell(TSectionList* document, const TCellObjCell& source);

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
  void Set(std::string CellLink::*field, const std::string& value) {
    if (value.empty() && !link_) return;
    if (!link_) link_ = std::make_unique<CellLink>();
    (*link_).*field = value;
  }
  std::unique_ptr<CellLink> link_;
};

}  // namespace engine
