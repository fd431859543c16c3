// Printing a viewer's document on the virtual printer: the page measures, page
// counts and ranges, header and footer events, stopping and aborting from
// handlers, a viewer freed during a run, and table header and footer rows
// repeated across pages as they come out in the page files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "images/PrinterPages.h"
#include "images/TPNGImage.h"
#include "platform/gui/TPrinter.h"
#include "platform/win/gdi/MappingMode.h"
#include "platform/win/gdi/PrintJobs.h"
#include "platform/win/gdi/VirtualPrinter.h"
#include "tests/viewer/ViewerTestSupport.h"
#include "viewer/TPrintGeometry.h"
#include "viewer/TvwPrinter.h"

namespace {

using viewer::TPrintGeometry;
using viewer::TPrinterMetrics;

// US Letter at 300 dpi without unprintable borders.
TPrinterMetrics Letter300() {
  TPrinterMetrics m;
  m.DpiX = m.DpiY = 300;
  m.HorzRes = m.PhysicalWidth = 2550;
  m.VertRes = m.PhysicalHeight = 3300;
  return m;
}

TEST(PrintGeometry, LetterAt300DpiWithTwoCentimetreMargins) {
  const TPrintGeometry g = TPrintGeometry::Compute(Letter300(), 96, {});
  EXPECT_EQ(g.LeftDev, 236);
  EXPECT_EQ(g.TopDev, 236);
  EXPECT_EQ(g.RightDev, 236);
  EXPECT_EQ(g.BottomDev, 236);
  EXPECT_EQ(g.WidthDev, 2078);
  EXPECT_EQ(g.HeightDev, 2828);
  EXPECT_EQ(g.Left, 76);  // 75.52 rounds up
  EXPECT_EQ(g.Top, 76);
  EXPECT_EQ(g.Width, 665);
  EXPECT_EQ(g.Height, 905);
  EXPECT_EQ(g.PageWidth, 816);
  EXPECT_EQ(g.PageHeight, 1056);
  EXPECT_EQ(g.BodyClip.left, 236);
  EXPECT_EQ(g.BodyClip.top, 235);
  EXPECT_EQ(g.BodyClip.right, 2316);
  EXPECT_EQ(g.BodyClip.bottom, 3066);
}

TEST(PrintGeometry, UnprintableBordersAndAMovedTopMargin) {
  TPrinterMetrics m = Letter300();
  m.OffX = m.OffY = 50;
  m.HorzRes = 2450;  // 50 unprintable on each side
  m.VertRes = 3200;
  const TPrintGeometry g = TPrintGeometry::Compute(m, 96, {});
  EXPECT_EQ(g.LeftDev, 186);
  EXPECT_EQ(g.RightDev, 186);
  EXPECT_EQ(g.WidthDev, 2078);  // the body stays where the paper puts it
  TPrintGeometry moved = g;
  moved.MoveTop(g, 1.0);
  EXPECT_EQ(moved.TopDev, g.TopDev + 118);
  EXPECT_EQ(moved.Top, g.Top + 37);
  EXPECT_EQ(moved.Height, g.Height - 37);
  EXPECT_EQ(moved.BodyClip.top, moved.TopDev);
  EXPECT_EQ(moved.BodyClip.bottom, moved.TopDev + moved.HeightDev);
}

TEST(PrintGeometry, NoResolutionIsAnInvalidPrinterAndWideMarginsLeaveNoBody) {
  TPrinterMetrics m = Letter300();
  m.DpiY = 0;
  try {
    TPrintGeometry::Compute(m, 96, {});
    FAIL() << "a printer without resolution was accepted";
  } catch (const gui::EPrinter& error) {
    EXPECT_EQ(error.Message(), "Printer selected is not valid");
  }
  EXPECT_TRUE(TPrintGeometry::Compute(Letter300(), 96, {11.0, 11.0, 2.0, 2.0}).Empty());
  EXPECT_FALSE(TPrintGeometry::Compute(Letter300(), 96, {}).Empty());
}

class Printing : public viewertest::ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    win::resetVirtualPrinter();
    win::clearPrintedJobs();
    // Letter at 96 dpi: logical and device units agree and pages stay small.
    win::virtualPrinter().dpi = 96;
    win::virtualPrinter().paperWidth = 816;
    win::virtualPrinter().paperHeight = 1056;
  }
  void TearDown() override {
    win::resetVirtualPrinter();
    win::clearPrintedJobs();
    viewer::FinalizePrinterUnit();
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
    ViewerTest::TearDown();
  }
  // Pages go to a fresh folder as PNG files.
  void WritePages() {
    images::InstallPngPageWriter();
    // Worktrees share the temporary folder: the process id keeps runs apart.
    folder_ = testing::TempDir() + "/printing_" + std::to_string(::getpid()) + "_" +
              testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    win::virtualPrinter().outputFolder = folder_;
  }
  static const win::PrintedJob& LastJob() { return win::printedJobs().back(); }
  // Sections that each start a new printed page.
  static std::string Pages(int count) {
    std::string html = "<body><p>page 1</p>";
    for (int i = 2; i <= count; ++i)
      html += "<p style=\"page-break-before: always\">page " + std::to_string(i) + "</p>";
    return html + "</body>";
  }
  std::string folder_;
};

struct BandCall {
  int page, w, h;
  win::POINT origin;
};

TEST_F(Printing, HeaderAndFooterEventsGetTheBandsOfEachPage) {
  win::resetVirtualPrinter();  // Letter at 300 dpi
  load("<p>short</p>");
  std::vector<BandCall> headers, footers;
  auto record = [](std::vector<BandCall>& calls) {
    return [&calls](gui::TObject*, gui::TCanvas& Canvas, int NumPage, int W, int H, bool&) {
      win::POINT origin{};
      win::GetWindowOrgEx(Canvas.Handle(), &origin);
      calls.push_back({NumPage, W, H, origin});
    };
  };
  view().OnPrintHeader = record(headers);
  view().OnPrintFooter = record(footers);
  view().PrintPages(1, 9999);
  ASSERT_EQ(headers.size(), 1u);
  ASSERT_EQ(footers.size(), 1u);
  EXPECT_EQ(headers[0].page, 1);
  EXPECT_EQ(headers[0].w, 816);
  EXPECT_EQ(headers[0].h, 76);
  EXPECT_EQ(headers[0].origin.y, 0);
  EXPECT_EQ(footers[0].w, 816);
  EXPECT_EQ(footers[0].h, 75);
  EXPECT_EQ(footers[0].origin.y, -981);  // Y 0 is the bottom of the body
  ASSERT_EQ(win::printedJobs().size(), 1u);
  EXPECT_TRUE(LastJob().finished);
  EXPECT_EQ(LastJob().pagesStarted, 1);
  EXPECT_EQ(view().PrintedPage(), 1);
  EXPECT_FALSE(view().Busy());
}

TEST_F(Printing, PageCountsAndRanges) {
  load(Pages(3));
  view().PrintPages(1, 9999);
  EXPECT_EQ(LastJob().pagesStarted, 3);
  EXPECT_TRUE(LastJob().finished);
  std::vector<int> pages;
  view().OnPrintHeader = [&pages](gui::TObject*, gui::TCanvas&, int NumPage, int, int, bool&) {
    pages.push_back(NumPage);
  };
  view().PrintPages(2, 2);
  EXPECT_EQ(LastJob().pagesStarted, 1);
  EXPECT_EQ(pages, std::vector<int>{2});  // pages before the range raise no events
  // A document of three pages printed from page 4 or 5 spools nothing.
  view().PrintPages(4, 9999);
  EXPECT_TRUE(LastJob().aborted);
  EXPECT_FALSE(LastJob().finished);
  view().PrintPages(5, 9999);
  EXPECT_TRUE(LastJob().aborted);
  EXPECT_EQ(win::printedJobs().size(), 4u);
}

TEST_F(Printing, StopAndAbortFromHandlers) {
  load(Pages(3));
  view().OnPrintFooter = [](gui::TObject*, gui::TCanvas&, int, int, int, bool& Stop) { Stop = true; };
  view().PrintPages(1, 9999);
  EXPECT_EQ(LastJob().pagesStarted, 1);
  EXPECT_TRUE(LastJob().finished);
  view().OnPrintFooter = [](gui::TObject*, gui::TCanvas&, int NumPage, int, int, bool&) {
    if (NumPage == 2) viewer::CurrentPrinterObject()->AbortJob();
  };
  EXPECT_NO_THROW(view().PrintPages(1, 9999));
  EXPECT_TRUE(LastJob().aborted);
  EXPECT_FALSE(view().Busy());
}

TEST_F(Printing, ATableWhoseRepeatedRowsAreTallerThanThePageEnds) {
  std::string html = "<table><thead><tr><td height=3000>header</td></tr></thead><tbody>";
  for (int i = 0; i < 50; ++i) html += "<tr><td>row</td></tr>";
  load(html + "</tbody><tfoot><tr><td height=2000>footer</td></tr></tfoot></table>");
  view().PrintPages(1, 9999);
  EXPECT_TRUE(LastJob().finished);
  EXPECT_GE(LastJob().pagesStarted, 1);
  EXPECT_LE(LastJob().pagesStarted, 20);
}

TEST_F(Printing, ATopMarginMovedByAHandlerAppliesToLaterPagesAndIsRestored) {
  win::resetVirtualPrinter();  // Letter at 300 dpi
  load(Pages(2));
  std::vector<int> tops;
  view().OnPrintHeader = [this, &tops](gui::TObject*, gui::TCanvas&, int, int, int H, bool&) {
    tops.push_back(H);
    view().PrintMarginTop = 3.0;
  };
  view().PrintPages(1, 9999);
  EXPECT_EQ(tops, (std::vector<int>{76, 113}));
  EXPECT_DOUBLE_EQ(view().PrintMarginTop, 2.0);
}

TEST_F(Printing, MarginsWiderThanThePaperPrintNothing) {
  load(Pages(2));
  view().PrintMarginLeft = 20.0;
  bool called = false;
  view().OnPrintHeader = [&called](gui::TObject*, gui::TCanvas&, int, int, int, bool&) { called = true; };
  view().PrintPages(1, 9999);
  EXPECT_FALSE(called);
  ASSERT_EQ(win::printedJobs().size(), 1u);
  EXPECT_TRUE(LastJob().aborted);
  EXPECT_EQ(view().PrintedPage(), 0);
}

TEST_F(Printing, AnEmptyDocumentOrABusyViewerPrintsNothing) {
  view().PrintPages(1, 9999);
  EXPECT_TRUE(win::printedJobs().empty());
  load(Pages(2));
  // A load asked for while printing is refused instead of freeing what the run paints.
  view().OnPrintHeader = [this](gui::TObject*, gui::TCanvas&, int, int, int, bool&) {
    view().LoadSourceString("<p>other</p>", "");
    view().Clear();
  };
  view().PrintPages(1, 9999);
  EXPECT_EQ(LastJob().pagesStarted, 2);
  EXPECT_TRUE(LastJob().finished);
  EXPECT_NE(view().Document().Empty(), true);
}

TEST_F(Printing, AnInvalidPrinterIsReportedAfterTheRunIsUndone) {
  load(Pages(2));
  std::string device, driver, port;
  win::HGLOBAL mode = 0;
  gui::Printer()->GetPrinter(device, driver, port, mode);
  gui::Printer()->SetPrinter("No Such Printer", driver, port, 0);
  viewer::TvwPrinter* before = viewer::CurrentPrinterObject();
  std::string message;
  try {
    view().PrintPages(1, 9999);
  } catch (const gui::EPrinter& error) {
    message = error.Message();
  }
  gui::Printer()->SetPrinter(device, driver, port, 0);
  EXPECT_EQ(message, "Printer selected is not valid");
  EXPECT_EQ(viewer::CurrentPrinterObject(), before);
  EXPECT_FALSE(view().Busy());
  EXPECT_DOUBLE_EQ(view().PrintMarginTop, 2.0);
}

TEST_F(Printing, AViewerFreedByAHandlerEndsTheJobWithoutOutput) {
  load(Pages(3));
  viewer::THTMLViewer* printing = &view();
  viewer::TvwPrinter* before = viewer::CurrentPrinterObject();
  printing->OnPrintFooter = [printing](gui::TObject*, gui::TCanvas&, int NumPage, int, int, bool&) {
    if (NumPage == 2) delete printing;
  };
  printing->PrintPages(1, 9999);
  EXPECT_TRUE(LastJob().aborted);
  EXPECT_EQ(viewer::CurrentPrinterObject(), before);
}

TEST_F(Printing, HTMLHeadersAndFootersAreLaidOutInTheirOwnViewers) {
  load(Pages(2));
  std::vector<std::pair<int, bool>> footers;
  view().OnPrintHTMLHeader = [](gui::TObject*, viewer::THTMLViewer& Band, int NumPage, bool, int& XL, int&, bool&) {
    Band.LoadSourceString("<p>Header of page " + std::to_string(NumPage) + "</p>", "");
    XL += 10;
  };
  view().OnPrintHTMLFooter = [&footers](gui::TObject*, viewer::THTMLViewer& Band, int NumPage, bool LastPage, int&,
                                        int&, bool&) {
    EXPECT_EQ(Band.MarginHeightValue(), 0);
    Band.LoadSourceString("<p>footer</p>", "");
    footers.emplace_back(NumPage, LastPage);
  };
  view().PrintPages(1, 9999);
  EXPECT_EQ(footers, (std::vector<std::pair<int, bool>>{{1, false}, {2, true}}));
  EXPECT_EQ(LastJob().pagesStarted, 2);
}

TEST_F(Printing, MeasuringLeavesTheScreenDocumentAlone) {
  load(tallDocument(30));
  const int height = view().DocumentHeight();
  win::POINT size{1, 1};
  view().MeasureDocumentSize(0, size);
  EXPECT_EQ(size.x, 0);
  EXPECT_EQ(size.y, 0);
  view().MeasureDocumentSize(200, size);
  EXPECT_GT(size.y, height / 2);
  EXPECT_GT(size.x, 0);
  EXPECT_LE(size.x, 200);
  EXPECT_EQ(view().DocumentHeight(), height);
}

// Pages read back from their files.
class PrintedPages : public Printing {
 protected:
  void SetUp() override {
    Printing::SetUp();
    WritePages();
  }
  // A table with a black header row and a blue footer row.
  static std::string TableDocument(int rows) {
    std::string html =
        "<body><table width=300><thead><tr><td bgcolor=black height=40>&nbsp;</td></tr></thead><tbody>";
    for (int i = 0; i < rows; ++i) html += "<tr><td height=40>row</td></tr>";
    return html + "</tbody><tfoot><tr><td bgcolor=blue height=40>&nbsp;</td></tr></tfoot></table></body>";
  }
  // Rows of the page (between top and bottom) whose pixel at x has the colour.
  static int RowsOf(images::TPNGImage& page, int x, int top, int bottom, win::COLORREF colour) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
      if (page.Canvas().Pixels(x, y) == colour) ++count;
    return count;
  }
};

TEST_F(PrintedPages, HeaderRowsOpenAndFooterRowsCloseEveryPage) {
  load(TableDocument(40));
  view().PrintPages(1, 9999);
  ASSERT_TRUE(LastJob().finished);
  ASSERT_GE(LastJob().files.size(), 2u);
  const int top = 75, bottom = 1056 - 75, x = 75 + 40;
  images::TPNGImage first, second;
  first.LoadFromFile(LastJob().files[0]);
  second.LoadFromFile(LastJob().files[1]);
  const win::COLORREF black = win::RGB(0, 0, 0), blue = win::RGB(0, 0, 255);
  // Page 1: the header near the top, the footer in the lower part of the body.
  EXPECT_GT(RowsOf(first, x, top, top + 80, black), 30);
  EXPECT_GT(RowsOf(first, x, bottom - 120, bottom, blue), 30);
  // Page 2: the header again at the top of the body, and the footer below the rows.
  EXPECT_GT(RowsOf(second, x, top, top + 60, black), 30);
  EXPECT_GT(RowsOf(second, x, top + 60, bottom, blue), 30);
  // Nothing of the body shows in the margins.
  EXPECT_EQ(RowsOf(first, x, 0, top - 2, black), 0);
  EXPECT_EQ(RowsOf(second, x, bottom + 3, 1056, blue), 0);
}

TEST_F(PrintedPages, TheBodyBackgroundIsPrintedOnlyWhenAskedFor) {
  load("<body bgcolor=#00FF00><p>green</p></body>");
  const int x = 400, y = 600;  // inside the body, below the text
  view().PrintPages(1, 1);
  images::TPNGImage plain;
  plain.LoadFromFile(LastJob().files.at(0));
  EXPECT_EQ(plain.Canvas().Pixels(x, y), win::RGB(255, 255, 255));
  view().SethtOptions(view().htOptions() | viewer::htPrintBackground);
  view().PrintPages(1, 1);
  images::TPNGImage coloured;
  coloured.LoadFromFile(LastJob().files.at(0));
  EXPECT_EQ(coloured.Canvas().Pixels(x, y), win::RGB(0, 255, 0));
  EXPECT_EQ(coloured.Canvas().Pixels(x, 20), win::RGB(255, 255, 255));  // not in the top margin
}

TEST_F(PrintedPages, AMonochromePrinterPrintsColouredTextBlack) {
  win::virtualPrinter().monochrome = true;
  load("<p><font color=red size=7>RED RED RED</font></p>");
  view().PrintPages(1, 1);
  images::TPNGImage page;
  page.LoadFromFile(LastJob().files.at(0));
  int black = 0;
  for (int y = 75; y < 200; ++y) {
    for (int x = 75; x < 400; ++x) {
      const win::COLORREF c = page.Canvas().Pixels(x, y);
      ASSERT_TRUE(c == win::RGB(0, 0, 0) || c == win::RGB(255, 255, 255)) << x << "," << y;
      if (c == 0) ++black;
    }
  }
  EXPECT_GT(black, 100);
}

TEST_F(Printing, ARunStartedFromAHandlerAddsItsPagesToTheSameJob) {
  load(Pages(2));
  int nested = 0;
  view().OnPrintHeader = [this, &nested](gui::TObject*, gui::TCanvas&, int NumPage, int, int, bool&) {
    if (NumPage == 1 && nested++ == 0) view().PrintPages(1, 9999);
  };
  view().PrintPages(1, 9999);
  ASSERT_EQ(win::printedJobs().size(), 1u);
  EXPECT_TRUE(LastJob().finished);
  EXPECT_GE(LastJob().pagesStarted, 3);
  EXPECT_FALSE(view().Busy());
}

// The line before a break after its block keeps its descenders on its page:
// the page ends below the line's whole height, not at its base.
// A page break after a block that a taller float hangs beside: the block's
// paint reaches down to the float's bottom, so the break falls below the float
// and the float prints whole on page 1.
TEST_F(PrintedPages, AFloatHangingBelowABlockBrokenAfterPrintsWholeOnItsPage) {
  load("<body><div style=\"float:left;width:50px;height:400px;background-color:#0000FF\"></div>"
       "<p style=\"page-break-after:always\">short</p><p>after</p></body>");
  view().PrintPages(1, 9999);
  ASSERT_GE(LastJob().files.size(), 1u);
  images::TPNGImage first;
  first.LoadFromFile(LastJob().files.at(0));
  int left = -1;
  for (int x = 0; x < first.Width() && left < 0; ++x)
    if (RowsOf(first, x, 0, first.Height(), 0xFF0000) > 0) left = x;
  ASSERT_GE(left, 0);
  EXPECT_EQ(RowsOf(first, left + 25, 0, first.Height(), 0xFF0000), 400);
  // The break falls below the float, so no later page shows any of it.
  for (std::size_t page = 1; page < LastJob().files.size(); ++page) {
    images::TPNGImage later;
    later.LoadFromFile(LastJob().files.at(page));
    EXPECT_EQ(RowsOf(later, left + 25, 0, later.Height(), 0xFF0000), 0) << page;
  }
}

TEST_F(PrintedPages, ABreakAfterABlockKeepsItsLastLineWhole) {
  // At 300 dpi, where a logical pixel is more than one printer pixel (on
  // small paper, to keep the pages quick to write and read).
  win::virtualPrinter().dpi = 300;
  win::virtualPrinter().paperWidth = 1200;
  win::virtualPrinter().paperHeight = 1200;
  const auto inkOnFirstPage = [this](const std::string& html) {
    load(html);
    view().PrintPages(1, 9999);
    images::TPNGImage page;
    page.LoadFromFile(LastJob().files.at(0));
    int ink = 0;
    for (int y = 236; y < 600; ++y) {
      const auto* row = static_cast<const std::uint8_t*>(page.ScanLine(y));
      for (int x = 236; x < 900; ++x) ink += row[3 * x] != 0xFF || row[3 * x + 1] != 0xFF || row[3 * x + 2] != 0xFF;
    }
    return ink;
  };
  const std::string line = "gjpqy gjpqy";
  const int whole = inkOnFirstPage("<body><p>" + line + "</p><p style=\"page-break-before: always\">next</p>");
  const int broken = inkOnFirstPage("<body><p style=\"page-break-after: always\">" + line + "</p><p>next</p>");
  EXPECT_GT(whole, 1000);
  EXPECT_EQ(broken, whole);
  EXPECT_EQ(LastJob().files.size(), 2u);
}

}  // namespace
