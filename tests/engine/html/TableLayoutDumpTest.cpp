// Laid-out tables from markup, compared as layout dumps with the files beside
// their HTML under tests/data/tables: column widths from content, percentages
// and fixed widths, spans, nested tables, captions, vertical alignment, floats in cells and tall tables.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/engine/html/ParseTestSupport.h"
#include "tests/engine/support/LayoutDump.h"
#include "engine/document/TBlock.h"
#include "engine/tables/ThtmlTable.h"
#include "engine/text/TSection.h"

namespace engine {
namespace {

std::string LaidOutDump(const std::string& html, int width) {
  return testing::DumpLayout(*testing::ParseAndLayOut(html, width).root);
}

// Every text section of the flow, tables' cells included, in document order:
// its character positions, document Y and height, one line each.
void AddTextPlaces(const TCellBasic& cell, std::string& out) {
  for (const auto& section : cell) {
    if (const auto* table = dynamic_cast<const ThtmlTable*>(section.get())) {
      for (const auto& row : table->Rows)
        for (const auto& entry : row->Cells)
          if (entry && entry->Cell()) AddTextPlaces(*entry->Cell(), out);
    } else if (const auto* block = dynamic_cast<const TBlock*>(section.get())) {
      if (block->MyCell) AddTextPlaces(*block->MyCell, out);
    } else if (const auto* text = dynamic_cast<const TSection*>(section.get())) {
      out += "chars=" + std::to_string(text->FirstCharPos) + "+" + std::to_string(text->CharCount) +
             " y=" + std::to_string(text->TopY) + " h=" + std::to_string(text->SectionHeight) + "\n";
    }
  }
}

// The dump of the tables and the places of their text, which the dump leaves out.
std::string LaidOutDumpAndPlaces(const std::string& html, int width) {
  const testing::ParsedDocument document = testing::ParseAndLayOut(html, width);
  std::string places;
  AddTextPlaces(*document.root, places);
  return testing::DumpLayout(*document.root) + "Text places:\n" + places;
}

// Lays out tests/data/tables/NAME.html at width with makeText and compares the
// text with NAME.txt; a mismatch is written beside it as NAME.actual.
void ExpectFileMatches(const std::string& name, int width, std::string (*makeText)(const std::string&, int)) {
  const std::string html = testing::ReadTestDataFile("tables/" + name + ".html");
  ASSERT_FALSE(html.empty()) << name;
  const std::string actual = makeText(html, width);
  const std::string expected = testing::ReadTestDataFile("tables/" + name + ".txt");
  if (expected != actual) {
    std::ofstream(std::string(PAGEWELL_TEST_DATA_DIR) + "/tables/" + name + ".actual") << actual;
  }
  EXPECT_EQ(expected, actual) << name << ": the actual dump is written beside the expected one as .actual";
}

void ExpectDump(const std::string& name, int width) { ExpectFileMatches(name, width, LaidOutDump); }
void ExpectDumpAndPlaces(const std::string& name, int width) { ExpectFileMatches(name, width, LaidOutDumpAndPlaces); }

TEST(TableLayoutDump, ColumnsFromContentAndSpans) { ExpectDump("columns", 400); }
TEST(TableLayoutDump, PercentAndFixedWidths) { ExpectDump("percent", 500); }
TEST(TableLayoutDump, NestedTablesCaptionsAndVerticalAlignment) { ExpectDump("nested_caption", 500); }
TEST(TableLayoutDump, ACellSpanningRows) { ExpectDump("rowspan", 300); }
// A float stays in its cell: the text beside it wraps around it, the cell
// grows to its bottom, and the cells laid out after it do not see it.
TEST(TableLayoutDump, FloatsInCellsStayInTheirCell) { ExpectDump("cell_floats", 300); }
// Taller than the height it is given: the rows after the first that fills
// it are placed as they are measured, up to the row a spanning cell covers;
// header and footer rows, a float, a nested table and vertical alignment on the way.
TEST(TableLayoutDump, ATallTablePlacesItsRowsAsItMeasuresThem) { ExpectDumpAndPlaces("tall", 400); }
// A cell spanning every row, with a nested table; a spanning cell its rows
// hold and one that makes its rows taller.
TEST(TableLayoutDump, ATallTableWithCellsSpanningRows) { ExpectDumpAndPlaces("spanning_tall", 400); }

TEST(TableLayoutDump, ANarrowerLayoutWrapsCellsAndGrowsRows) {
  const std::string html = testing::ReadTestDataFile("tables/columns.html");
  const std::string wide = LaidOutDump(html, 400);
  const std::string narrow = LaidOutDump(html, 120);
  EXPECT_NE(wide, narrow);
  const std::string expected = testing::ReadTestDataFile("tables/columns_narrow.txt");
  if (expected != narrow) std::ofstream(std::string(PAGEWELL_TEST_DATA_DIR) + "/tables/columns_narrow.actual") << narrow;
  EXPECT_EQ(expected, narrow);
}

}  // namespace
}  // namespace engine
