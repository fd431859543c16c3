#pragma once
// TCellObj: one cell of a table's grid, with its spans, sizes, padding and
// borders, background and its content (a TCellObjCell). The grid fills the
// places that spans cover with dummy cells (ColSpan 0), which have no content.
// A long table holds many cells: a real cell holds its content in the same
// allocation, keeps only what its drawing needs, and its background picture
// and own border sides (which few cells have) in a record of their own.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/css/CssBoxValues.h"
#include "engine/css/CssColors.h"
#include "engine/document/TCellObjCell.h"
#include "engine/paint/BorderPainter.h"
#include "platform/win/Types.h"

namespace gui {
class TBitmap;
class TCanvas;
}

namespace engine {

class TAttributeList;
class TFormControlObj;
class TProperties;
class TSectionList;
class TUrlTarget;

// Spans and pixel sizes beyond these are cut: hostile markup must not make
// the grid or the width sums explode.
constexpr int kMaxColSpan = 1000;
constexpr int kMaxRowSpan = 65534;
constexpr int kMaxCellExtent = 1000000;

// Vertical alignments of cell content.
constexpr std::uint8_t kVAlignTop = 1;
constexpr std::uint8_t kVAlignMiddle = 2;
constexpr std::uint8_t kVAlignBaseline = 3;
constexpr std::uint8_t kVAlignBottom = 4;

class TCellObj {
 public:
  // A real cell from its element's style and attributes (either may be null)
  // with the row's default vertical alignment.
  static std::unique_ptr<TCellObj> Make(TSectionList* document, TProperties* properties, TAttributeList* attributes,
                                        std::uint8_t vertAlign);
  // A copy for another document (a dummy's copy is a dummy); background only
  // when that document prints backgrounds.
  static std::unique_ptr<TCellObj> MakeCopy(TSectionList* document, const TCellObj& source);
  // A dummy standing where a span reaches: ColSpan 0, no content.
  static std::unique_ptr<TCellObj> MakeDummy(int rowSpan);
  TCellObj(const TCellObj&) = delete;
  TCellObj& operator=(const TCellObj&) = delete;
  virtual ~TCellObj();

  // The content; null in dummies.
  virtual TCellObjCell* Cell() const { return nullptr; }

  // The cell's title, link and link target; empty when not given.
  const std::string& CellTitle() const { return extras_ ? extras_->CellTitle : kNoText; }
  const std::string& Url() const { return extras_ ? extras_->Url : kNoText; }
  const std::string& Target() const { return extras_ ? extras_->Target : kNoText; }
  void SetCellTitle(const std::string& value) { SetText(&Extras::CellTitle, value); }
  void SetUrl(const std::string& value) { SetText(&Extras::Url, value); }
  void SetTarget(const std::string& value) { SetText(&Extras::Target, value); }
  // The cell's place in window coordinates, written when the table paints.
  // Only a cell with a title or link answers for its place, so only such a
  // cell keeps it.
  void SetCellRect(const win::RECT& rect);
  // What the content (starting at document X contentX) answers at the
  // document point, with the cell's title and link where the content gives
  // none and the point is inside the cell's place.
  std::uint8_t LinkAtPoint(gui::TCanvas* canvas, int X, int Y, int contentX, std::unique_ptr<TUrlTarget>& UrlTarget,
                           TFormControlObj*& FormControl, std::string& Title);
  bool IsReal() const { return ColSpan != 0; }

  // Unset paddings take the table's; a bordered table gives every border at
  // least one pixel unless the cell has its own border style; a cell without
  // its own background image takes the row's.
  void SetPaddingAndBorders(int cellPadding, const std::string& rowBackgroundImage, bool tableHasBorder,
                            const TBackgroundPosition& rowPosition);

  // Paints background, content and frame with the cell's top at document Y and
  // left at X (window X); s is the table's cell spacing.
  void Draw(gui::TCanvas* canvas, const win::RECT& clipRect, TColor dark, TColor light, bool tableHasBorder, int s,
            int Y, int X);

  // The name of the background picture (empty for none) and the picture as
  // fetched for this cell (null until drawn, or when it cannot be had).
  const std::string& BackgroundImage() const;
  gui::TBitmap* TiledImage() const;

  int ColSpan = 1;
  int RowSpan = 1;
  int Column = -1;  // grid column, once the table has built its grid
  int Wd = 0;
  int Ht = 0;
  int VSize = 0;
  int SpecHt = 0;
  int SpecHtPercent = 0;
  int YIndent = 0;
  int WidthAttr = 0;
  int PadTop = -1, PadRight = -1, PadBottom = -1, PadLeft = -1;  // below 0: not set
  int BrdTop = 0, BrdRight = 0, BrdBottom = 0, BrdLeft = 0;
  // Padding and borders across and down, once SetPaddingAndBorders has set them.
  int HzSpace() const { return PadLeft + BrdLeft + BrdRight + PadRight; }
  int VrSpace() const { return PadTop + BrdTop + BrdBottom + PadBottom; }
  TColor BackgroundColor = kNoColor;  // the content's background; kNoColor for none
  std::uint8_t VertAlign = kVAlignMiddle;
  bool AsPercent = false;
  bool HasBorderStyle = false;
  // The page-break wishes of the cell, which its row takes on.
  bool BreakBefore : 1 = false;
  bool BreakAfter : 1 = false;
  bool KeepIntact : 1 = false;

 protected:
  TCellObj() = default;
  // Copies what the grid and drawing keep, not the content.
  TCellObj(TSectionList* document, const TCellObj& source);

 private:
  // What few cells have: a background picture (its name, drawn by the image
  // area, where it starts, and the copy fetched for this cell with its mask),
  // the cell's own border sides (left, top, right, bottom) when
  // HasBorderStyle, and its title and link with its last painted place.
  struct Extras {
    std::string Image;
    TBackgroundPosition Position{};
    bool ImageLoaded = false;
    std::unique_ptr<gui::TBitmap> TiledImage;
    std::unique_ptr<gui::TBitmap> TiledMask;
    SideColors BorderColors{};
    SideStyles BorderStyles{};
    std::string CellTitle;
    std::string Url;
    std::string Target;
    win::RECT CellRect{};
  };
  static inline const std::string kNoText;
  Extras& MutableExtras();
  void SetText(std::string Extras::*field, const std::string& value);
  bool HasTitleOrLink() const;
  void SetBackgroundImage(const std::string& image, const TBackgroundPosition& position);

  void ReadAttributes(TAttributeList& attributes);
  void ReadStyle(TProperties& properties);
  void DrawBackground(gui::TCanvas* canvas, const win::RECT& clipRect, const win::RECT& inner, bool tableHasBorder);
  bool FetchBackgroundImage();
  void TileBackgroundImage(gui::TCanvas* canvas, const win::RECT& clipRect, const win::RECT& inner);

  std::unique_ptr<Extras> extras_;  // null without a picture, own border sides, title or link
  void DrawContent(gui::TCanvas* canvas, const win::RECT& clipRect, const win::RECT& outer, int s, int Y, int X);
  void DrawFrame(gui::TCanvas* canvas, const win::RECT& outer, const win::RECT& inner, TColor dark, TColor light,
                 bool tableHasBorder, int s, int Yo, int X);
};

}  // namespace engine
