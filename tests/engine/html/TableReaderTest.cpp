// Tables read from markup: implicit rows, head and foot parts, captions,
// column descriptions, alignments, content outside cells and hostile nesting.
#include "engine/html/TableReader.h"

#include <gtest/gtest.h>

#include "engine/document/TBlock.h"
#include "engine/html/TCellManager.h"
#include "engine/tables/TTableAndCaptionBlock.h"
#include "engine/tables/TTableBlock.h"
#include "engine/tables/ThtmlTable.h"
#include "engine/text/TSection.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"
#include "tests/engine/html/ParseTestSupport.h"

namespace engine {
namespace {

using testing::JoinedText;
using testing::Parse;

// The table blocks of a cell and of the blocks in it, in document order.
void CollectTables(const TCellBasic& cell, std::vector<TTableBlock*>& out) {
  for (const auto& section : cell) {
    if (auto* table = dynamic_cast<TTableBlock*>(section.get())) out.push_back(table);
    if (auto* block = dynamic_cast<TBlock*>(section.get())) CollectTables(*block->MyCell, out);
    if (auto* table = dynamic_cast<ThtmlTable*>(section.get()))
      for (const auto& row : table->Rows)
        for (const auto& inner : row->Cells)
          if (inner && inner->IsReal()) CollectTables(*inner->Cell(), out);
  }
}

std::vector<TTableBlock*> Tables(const testing::ParsedDocument& document) {
  std::vector<TTableBlock*> out;
  CollectTables(*document.root, out);
  return out;
}

// The text of each row's real cells: "a,b/c" for two rows.
std::string CellTexts(const ThtmlTable& table) {
  std::string out;
  for (const auto& row : table.Rows) {
    if (!out.empty()) out += '/';
    bool first = true;
    for (const auto& cell : row->Cells) {
      if (!cell || !cell->IsReal()) continue;
      if (!first) out += ',';
      std::string text = JoinedText(*cell->Cell());
      while (!text.empty() && text.back() == ' ') text.pop_back();  // a section ends with its blank
      out += text;
      first = false;
    }
  }
  return out;
}

std::string RowKinds(const ThtmlTable& table) {
  std::string out;
  for (const auto& row : table.Rows) out += static_cast<char>('0' + row->RowKind);
  return out;
}

TEST(TableReader, CellsWithoutRowsFormOneImplicitRow) {
  auto document = Parse("<table><td>a<td>b</table>after");
  auto tables = Tables(document);
  ASSERT_EQ(tables.size(), 1u);
  const ThtmlTable& table = *tables[0]->Table;
  ASSERT_EQ(table.Rows.size(), 1u);
  EXPECT_EQ(CellTexts(table), "a,b");
  EXPECT_EQ(table.Rows[0]->Items(0)->VertAlign, kVAlignMiddle);
  EXPECT_NE(JoinedText(*document.root).find("after"), std::string::npos);
}

TEST(TableReader, FootRowsComeLastAndALateHeadIsBody) {
  auto footFirst = Parse("<table><tfoot><tr><td>F</tfoot><tbody><tr><td>B</tbody></table>");
  const ThtmlTable& table = *Tables(footFirst)[0]->Table;
  EXPECT_EQ(CellTexts(table), "B/F");
  EXPECT_EQ(RowKinds(table), "12");
  auto lateHead = Parse("<table><tr><td>1</tr><thead><tr><td>H</thead></table>");
  EXPECT_EQ(RowKinds(*Tables(lateHead)[0]->Table), "11");
  auto head = Parse("<table><thead><tr><td>H<tbody><tr><td>B</table>");
  EXPECT_EQ(RowKinds(*Tables(head)[0]->Table), "01");
  // A cell whose end tag is left out does not swallow the foot.
  auto omitted = Parse("<table><tr><td>a<tfoot><tr><td>f<tbody><tr><td>b</table>");
  EXPECT_EQ(CellTexts(*Tables(omitted)[0]->Table), "a/b/f");
}

TEST(TableReader, TextBetweenRowsAndCellsLandsBeforeTheTable) {
  auto document = Parse("<table><tr>Hello<td>x</table>");
  const std::string text = JoinedText(*document.root);
  EXPECT_NE(text.find("Hello"), std::string::npos);
  EXPECT_EQ(CellTexts(*Tables(document)[0]->Table), "x");
}

TEST(TableReader, HeaderCellsAreCentredAndDataCellsLeft) {
  auto document = Parse("<table><tr><th>a<td>b<td align=right>c</table>");
  const ThtmlTable& table = *Tables(document)[0]->Table;
  ASSERT_EQ(CellTexts(table), "a,b,c");
  auto align = [&](int column) {
    const auto& sections = testing::TextSections(*table.Rows[0]->Items(column)->Cell());
    return sections.empty() ? -1 : static_cast<int>(sections[0]->Justify);
  };
  EXPECT_EQ(align(0), 2);  // centre
  EXPECT_EQ(align(1), 1);  // left
  EXPECT_EQ(align(2), 3);  // right
}

TEST(TableReader, VerticalAlignmentWords) {
  auto document = Parse(
      "<table><tr valign=bottom><td valign=baseline>a<td valign=BOTTOM>b<td valign=middlemiddle>c<td>d</table>");
  const TCellList& row = *Tables(document)[0]->Table->Rows[0];
  EXPECT_EQ(row.Items(0)->VertAlign, kVAlignTop);
  EXPECT_EQ(row.Items(1)->VertAlign, kVAlignBottom);
  EXPECT_EQ(row.Items(2)->VertAlign, kVAlignBottom);  // the row's
  EXPECT_EQ(row.Items(3)->VertAlign, kVAlignBottom);
}

TEST(TableReader, ColumnSpecificationsReachTheirCells) {
  auto wide = Parse("<table><col span=200><tr><td>x</table>");
  EXPECT_EQ(Tables(wide)[0]->Table->Columns.size(), 100u);
  auto document = testing::ParseAndLayOut(
      "<table><col align=left><col align=center><col align=right>"
      "<tr><td rowspan=2>A<td>B<td>C<tr><td>D<td>E</table>", 600);
  const ThtmlTable& table = *Tables(document)[0]->Table;
  ASSERT_EQ(CellTexts(table), "A,B,C/D,E");
  auto justify = [&](int row, int column) {
    const auto& sections = testing::TextSections(*table.Rows[static_cast<std::size_t>(row)]->Items(column)->Cell());
    return sections.empty() ? -1 : static_cast<int>(sections[0]->Justify);
  };
  EXPECT_EQ(justify(0, 0), 1);
  EXPECT_EQ(justify(0, 1), 2);
  EXPECT_EQ(justify(0, 2), 3);
  // In the grid A takes column 0 of row 1 too: D (its first cell) lands in column 1, E in column 2.
  EXPECT_FALSE(table.Rows[1]->Items(0)->IsReal());
  EXPECT_EQ(justify(1, 1), 2);
  EXPECT_EQ(justify(1, 2), 3);
}

TEST(TableReader, APercentageColumnWidthReachesItsCellsInTenths) {
  auto document = testing::ParseAndLayOut(
      "<table width=500 cellspacing=0 cellpadding=0><col width=\"80%\"><col><tr><td>a<td>b</table>", 600);
  const ThtmlTable& table = *Tables(document)[0]->Table;
  const TCellObj& cell = *table.Rows[0]->Items(0);
  EXPECT_EQ(cell.WidthAttr, 800);
  EXPECT_TRUE(cell.AsPercent);
  ASSERT_EQ(table.Widths.size(), 2u);
  EXPECT_EQ(table.Widths[0], 400);
  EXPECT_EQ(table.Widths[1], 100);
}

TEST(TableReader, CellsWithoutAColourTakeTheTablesThenTheRowsFirst) {
  auto document = testing::ParseAndLayOut(
      "<table bgcolor=#ff0000><tr><td>a<td bgcolor=#0000ff>b<tr bgcolor=#00ff00><td>c</table>", 600);
  const ThtmlTable& table = *Tables(document)[0]->Table;
  ASSERT_TRUE(table.HasBackground);
  EXPECT_EQ(table.Rows[0]->Items(0)->BackgroundColor, table.BackgroundColor);
  EXPECT_EQ(table.Rows[0]->Items(1)->BackgroundColor, 0xFF0000u);  // blue, as colours are kept (BGR)
  EXPECT_EQ(table.Rows[1]->Items(0)->BackgroundColor, 0x00FF00u);
}

TEST(TableReader, FootRowsAndTheFirstBodyRowTakeTheColumnsAlignment) {
  auto document = Parse(
      "<table><col align=right><tfoot><tr><td>F1<tr><td>F2</tfoot><tbody><tr><td>B1<tr><td>B2</tbody></table>");
  const ThtmlTable& table = *Tables(document)[0]->Table;
  ASSERT_EQ(CellTexts(table), "B1/B2/F1/F2");
  for (std::size_t row = 0; row < table.Rows.size(); ++row) {
    const auto& sections = testing::TextSections(*table.Rows[row]->Items(0)->Cell());
    ASSERT_FALSE(sections.empty());
    EXPECT_EQ(sections[0]->Justify, 3) << "row " << row;
  }
}

TEST(TableReader, CellManagerMarksRowSpansAndCutsColumnSpans) {
  TSectionList root(nullptr, nullptr);
  ThtmlTable table(&root, nullptr, nullptr);
  for (int i = 0; i < 3; ++i) table.AddColumn(0, false, "", 0);
  TCellManager manager(table);
  auto tall = TCellObj::Make(&root, nullptr, nullptr, kVAlignMiddle);
  tall->RowSpan = 2;
  EXPECT_EQ(manager.FindColNum(0), 0);
  manager.AddCell(0, *tall);
  auto wide = TCellObj::Make(&root, nullptr, nullptr, kVAlignMiddle);
  wide->ColSpan = 5;
  manager.AddCell(1, *wide);
  EXPECT_EQ(wide->ColSpan, 2);
  EXPECT_EQ(manager.Rows()[0], "xoo");
  EXPECT_EQ(manager.Rows()[1], "xxx");
  EXPECT_EQ(manager.FindColNum(1), -1);
  EXPECT_EQ(manager.FindColNum(5), 0);  // rows beyond the list are made on the way
}

TEST(TableReader, CaptionsStandAboveOrBelow) {
  auto above = Parse("<table><caption>Title</caption><tr><td>x</table>");
  auto* wrapper = dynamic_cast<TTableAndCaptionBlock*>(
      dynamic_cast<TBlock*>(above.root->Items(0))->MyCell->Items(0));
  ASSERT_NE(wrapper, nullptr);
  EXPECT_TRUE(wrapper->TopCaption);
  EXPECT_EQ(JoinedText(*wrapper->CaptionBlock->MyCell), "Title ");
  auto below = Parse("<table><caption align=bottom>Title</caption><tr><td>x</table>");
  auto* bottom = dynamic_cast<TTableAndCaptionBlock*>(
      dynamic_cast<TBlock*>(below.root->Items(0))->MyCell->Items(0));
  ASSERT_NE(bottom, nullptr);
  EXPECT_FALSE(bottom->TopCaption);
}

TEST(TableReader, CentredTablesAndFloatingOnes) {
  auto centred = Parse("<center><table><tr><td>x</table></center>");
  EXPECT_EQ(Tables(centred)[0]->Justify, 2);
  auto floating = Parse("<center><table align=left><tr><td>x</table></center>");
  EXPECT_NE(Tables(floating)[0]->FloatLR, 0);
}

TEST(TableReader, DeepNestingKeepsTheOuterTablesWhole) {
  std::string html;
  for (int i = 0; i < 14; ++i) html += "<table><tr><td>";
  html += "deep";
  for (int i = 0; i < 14; ++i) html += "</td></tr></table>";
  html += "<table><tr><td>next</table>";
  auto document = Parse(html);
  const auto tables = Tables(document);
  // Ten nested tables and the one after them: each end tag closes its own table.
  ASSERT_EQ(tables.size(), 11u);
  EXPECT_EQ(CellTexts(*tables[9]->Table), "deep");
  EXPECT_EQ(CellTexts(*tables[10]->Table), "next");
  EXPECT_EQ(document.root->Count(), 1);
}

TEST(TableReader, TablesWithoutCellsLayOut) {
  for (const char* html : {"<table width=300></table>", "<table width=50%><tr></tr><tr></tr></table>",
                           "<table><caption>c</caption></table>", "<table><col width=20><col></table>"}) {
    auto document = Parse(html);
    gui::TBitmap bitmap;
    bitmap.SetSize(8, 8);
    int maxWidth = 0;
    int curs = 0;
    document.root->LayoutContent(&bitmap.Canvas(), 0, 400, 300, 0, maxWidth, curs);
    ASSERT_EQ(Tables(document).size(), 1u) << html;
    EXPECT_EQ(Tables(document)[0]->Table->NumCols, 0) << html;
  }
}

TEST(TableReader, AnOpenCommentInsideATableKeepsTheTable) {
  EXPECT_EQ(Parse("<table><tr><td>kept<td>x<!-- never closed").Dump(),
            "Body default.\n"
            "  Block table.\n"
            "    Table\n"
            "      Row\n"
            "        Cell\n"
            "          Text |kept |\n"
            "        Cell\n"
            "          Text |x |\n");
}

}  // namespace
}  // namespace engine
