// Printed tables: rows that move to the next page or are cut by it, and the
// page state a table with header and footer rows leaves for the printer.
#include <gtest/gtest.h>

#include "engine/document/TBlock.h"
#include "engine/document/TSectionList.h"
#include "engine/tables/TTableBlock.h"
#include "engine/tables/ThtmlTable.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"
#include "tests/engine/html/ParseTestSupport.h"

namespace engine {
namespace {

ThtmlTable* FirstTable(TCellBasic& cell) {
  for (const auto& section : cell) {
    if (auto* table = dynamic_cast<ThtmlTable*>(section.get())) return table;
    if (auto* block = dynamic_cast<TBlock*>(section.get()))
      if (ThtmlTable* found = FirstTable(*block->MyCell)) return found;
  }
  return nullptr;
}

// A printing copy of a parsed document, laid out on a bitmap canvas.
struct PrintedDocument {
  testing::ParsedDocument source;
  std::unique_ptr<TSectionList> copy;
  gui::TBitmap bitmap;
  ThtmlTable* table = nullptr;

  explicit PrintedDocument(const std::string& html) : source(testing::Parse(html)) {
    bitmap.SetPixelFormat(gui::pf24bit);
    bitmap.SetSize(400, 400);
    int maxWidth = 0;
    int curs = 0;
    source.root->LayoutContent(&bitmap.Canvas(), 0, 400, 0, 0, maxWidth, curs);
    copy = TSectionList::CreateCopy(*source.root);
    copy->Printing = true;
    copy->LayoutContent(&bitmap.Canvas(), 0, 400, 0, 0, maxWidth, curs);
    table = FirstTable(*copy);
  }
  // Paints the page whose document rows start at top and whose body ends at
  // limit: the root takes the page end from the clip's bottom.
  void PaintPage(int top, int limit) {
    copy->SetYOffset(top);
    copy->PaintContent(&bitmap.Canvas(), win::RECT{0, 0, 400, limit - top}, 400, 0, 0, 0, 0);
  }
};

std::string Rows(int count, int height) {
  std::string rows;
  for (int i = 0; i < count; ++i) rows += "<tr><td height=" + std::to_string(height) + ">row</td></tr>";
  return rows;
}

TEST(TablePrinting, HeaderAndFooterRowsRepeatThroughThePrintersParts) {
  PrintedDocument printed("<table><thead><tr><td>H</td></tr></thead><tbody>" + Rows(20, 30) +
                          "</tbody><tfoot><tr><td>F</td></tr></tfoot></table>");
  ThtmlTable* table = printed.table;
  ASSERT_NE(table, nullptr);
  ASSERT_TRUE(table->HeaderRepeat);
  ASSERT_NE(table->PartRec, nullptr);
  printed.PaintPage(0, 300);
  EXPECT_EQ(table->PartRec->PartType, 5);
  EXPECT_EQ(table->PartRec->PartStart, table->TopY + table->FootOffset);
  EXPECT_EQ(printed.copy->TablePartSlot, table->PartRec.get());
  EXPECT_LT(printed.copy->VisibleBottom, 300);  // room kept for the footer
  printed.PaintPage(300, 600);
  EXPECT_EQ(table->PartRec->PartType, 1);
  EXPECT_EQ(table->PartRec->PartStart, table->DrawY - table->BorderTopWidth);
  printed.PaintPage(0, 600);
  EXPECT_EQ(table->PartRec->PartType, 2);
  EXPECT_EQ(table->PartRec->PartStart, table->BreakY - 1);
}

TEST(TablePrinting, ATableThatFitsIsDrawnWhole) {
  PrintedDocument printed("<table><thead><tr><td>H</td></tr></thead><tbody>" + Rows(2, 30) + "</tbody></table>");
  ASSERT_NE(printed.table, nullptr);
  printed.PaintPage(0, 1000);
  EXPECT_EQ(printed.table->PartRec->PartType, 0);
  EXPECT_EQ(printed.copy->TableBeingPrinted, nullptr);
  EXPECT_EQ(printed.copy->VisibleBottom, 1000);
}

TEST(TablePrinting, ShortRowsMoveToTheNextPageAndTallOnesAreCut) {
  PrintedDocument shortRows("<table>" + Rows(1, 50) + "<tr><td height=90>x</td></tr></table>");
  ASSERT_NE(shortRows.table, nullptr);
  const int secondTop = shortRows.table->RowTop(1);
  shortRows.PaintPage(0, secondTop + 40);
  EXPECT_EQ(shortRows.copy->VisibleBottom, secondTop);
  PrintedDocument tallRows("<table>" + Rows(1, 50) + "<tr><td height=150>x</td></tr></table>");
  const int tallTop = tallRows.table->RowTop(1);
  tallRows.PaintPage(0, tallTop + 40);
  EXPECT_EQ(tallRows.copy->VisibleBottom, tallTop + 40);
}

TEST(TablePrinting, AShortRowAtThePageTopIsDrawnEvenWhenItDoesNotFit) {
  // Deferring it would leave the next page just as full: printing would never get past it.
  PrintedDocument printed("<table>" + Rows(3, 90) + "</table>");
  ASSERT_NE(printed.table, nullptr);
  const int top = printed.table->RowTop(1);
  printed.PaintPage(top, top + 50);
  EXPECT_GT(printed.copy->VisibleBottom, top);  // the row's text may still move its own line on
  // Earlier rows with page rules of their own do not move this page's end.
  PrintedDocument broken("<table><tr style=\"page-break-before: always\"><td>a</td></tr>" + Rows(2, 30) + "</table>");
  const int second = broken.table->RowTop(1);
  broken.PaintPage(second, second + 200);
  EXPECT_EQ(broken.copy->VisibleBottom, second + 200);
}

TEST(TablePrinting, ARowWithABreakBeforeStartsANewPage) {
  PrintedDocument printed("<table>" + Rows(1, 30) + "<tr style=\"page-break-before: always\"><td>x</td></tr></table>");
  ASSERT_NE(printed.table, nullptr);
  const int top = printed.table->RowTop(1);
  printed.PaintPage(0, 1000);
  EXPECT_EQ(printed.copy->VisibleBottom, top + printed.table->CellSpacing / 2);
}

}  // namespace
}  // namespace engine
