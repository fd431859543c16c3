// The virtual printer: device capabilities, jobs and pages written as files,
// aborts that leave nothing behind, the abort procedure, and the class
// library's printer and print dialog over it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"
#include "platform/gui/TPrintDialog.h"
#include "platform/gui/TPrinter.h"
#include "platform/win/gdi/BrushObject.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/PrintJobs.h"
#include "platform/win/gdi/Shapes.h"
#include "platform/win/gdi/VirtualPrinter.h"
#include "tests/platform/SpecialFiles.h"

namespace win {
namespace {

class Printing : public testing::Test {
 protected:
  void SetUp() override {
    resetVirtualPrinter();
    clearPrintedJobs();
    // Worktrees share the temporary folder: the process id keeps runs apart.
    folder_ = testing::TempDir() + "/printer_" + std::to_string(::getpid()) + "_" +
              testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    // Small paper keeps the pages quick to write and read back.
    VirtualPrinterSettings& printer = virtualPrinter();
    printer.dpi = 100;
    printer.paperWidth = 200;
    printer.paperHeight = 300;
    printer.outputFolder = folder_;
  }
  void TearDown() override {
    resetVirtualPrinter();
    clearPrintedJobs();
    std::filesystem::remove_all(folder_);
  }

  HDC NewPrinterDc() { return CreateDC("winspool", virtualPrinter().deviceName.c_str(), nullptr, nullptr); }

  static void FillBlack(HDC dc, RECT rect) {
    const HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    FillRect(dc, &rect, black);
    DeleteObject(black);
  }

  int FilesInFolder() const {
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder_)) ++files;
    return files;
  }

  std::string folder_;
};

TEST_F(Printing, DefaultDeviceIsLetterAt300DotsPerInch) {
  resetVirtualPrinter();
  const HDC dc = CreateIC(nullptr, virtualPrinter().deviceName.c_str(), nullptr, nullptr);
  ASSERT_NE(dc, 0u);
  EXPECT_EQ(GetDeviceCaps(dc, TECHNOLOGY), DT_RASPRINTER);
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 2550);
  EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 3300);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 300);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 300);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 2550);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETX), 0);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 24);
  // An information context takes no job.
  DOCINFO info;
  EXPECT_EQ(StartDoc(dc, &info), SP_ERROR);
  DeleteDC(dc);
}

TEST_F(Printing, UnprintableBordersShrinkThePrintableArea) {
  VirtualPrinterSettings& printer = virtualPrinter();
  printer.offsetX = 10;
  printer.offsetY = 20;
  printer.rightGap = 5;
  printer.bottomGap = 7;
  const HDC dc = NewPrinterDc();
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 200 - 10 - 5);
  EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 300 - 20 - 7);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETX), 10);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETY), 20);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALHEIGHT), 300);

  // Device (0, 0) is the printable area's corner, at the offsets on the paper.
  DOCINFO info;
  ASSERT_GT(StartDoc(dc, &info), 0);
  StartPage(dc);
  FillBlack(dc, RECT{0, 0, 4, 4});
  FillBlack(dc, RECT{-10, 300, 500, 400});  // outside the printable area
  EndPage(dc);
  EndDoc(dc);
  DeleteDC(dc);
  ASSERT_EQ(printedJobs().size(), 1u);
  ASSERT_EQ(printedJobs()[0].files.size(), 1u);
  gui::TBitmap page;
  page.LoadFromFile(printedJobs()[0].files[0]);
  ASSERT_EQ(page.Width(), 200);
  EXPECT_EQ(page.Canvas().Pixels(10, 20), 0u);
  EXPECT_EQ(page.Canvas().Pixels(9, 20), 0xFFFFFFu);
  EXPECT_EQ(page.Canvas().Pixels(13, 23), 0u);
  EXPECT_EQ(page.Canvas().Pixels(14, 23), 0xFFFFFFu);
  EXPECT_EQ(page.Canvas().Pixels(5, 295), 0xFFFFFFu);
}

TEST_F(Printing, EachPageBecomesOneFileInPageOrder) {
  const HDC dc = NewPrinterDc();
  DOCINFO info;
  info.lpszDocName = "Two pages";
  ASSERT_GT(StartDoc(dc, &info), 0);
  ASSERT_GT(StartPage(dc), 0);
  ASSERT_GT(EndPage(dc), 0);
  ASSERT_GT(StartPage(dc), 0);
  FillBlack(dc, RECT{30, 30, 40, 40});
  ASSERT_GT(EndPage(dc), 0);
  // Pages keep temporary names until the job ends.
  EXPECT_TRUE(printedJobs()[0].files.empty());
  ASSERT_GT(EndDoc(dc), 0);
  DeleteDC(dc);

  const PrintedJob& job = printedJobs()[0];
  EXPECT_EQ(job.documentName, "Two pages");
  EXPECT_TRUE(job.finished);
  EXPECT_FALSE(job.aborted);
  ASSERT_EQ(job.files.size(), 2u);
  EXPECT_EQ(FilesInFolder(), 2);
  gui::TBitmap first;
  gui::TBitmap second;
  first.LoadFromFile(job.files[0]);
  second.LoadFromFile(job.files[1]);
  EXPECT_EQ(first.Height(), 300);
  EXPECT_EQ(first.Canvas().Pixels(35, 35), 0xFFFFFFu);
  EXPECT_EQ(second.Canvas().Pixels(30, 30), 0u);
  EXPECT_EQ(second.Canvas().Pixels(39, 39), 0u);
  EXPECT_EQ(second.Canvas().Pixels(40, 40), 0xFFFFFFu);
}

TEST_F(Printing, AbortDocRemovesEveryPageOfTheJob) {
  const HDC dc = NewPrinterDc();
  DOCINFO info;
  ASSERT_GT(StartDoc(dc, &info), 0);
  StartPage(dc);
  EndPage(dc);
  StartPage(dc);
  EXPECT_GT(AbortDoc(dc), 0);
  EXPECT_EQ(FilesInFolder(), 0);
  EXPECT_TRUE(printedJobs()[0].aborted);
  // Calls after the abort fail harmlessly.
  EXPECT_EQ(EndPage(dc), SP_ERROR);
  EXPECT_EQ(EndDoc(dc), SP_ERROR);
  EXPECT_EQ(AbortDoc(dc), SP_ERROR);
  FillBlack(dc, RECT{0, 0, 10, 10});
  DeleteDC(dc);
}

int abortProcCalls = 0;
BOOL StopAtSecondPage(HDC, int) { return ++abortProcCalls < 2; }
BOOL DeleteTheDc(HDC dc, int) {
  DeleteDC(dc);
  return TRUE;
}

TEST_F(Printing, TheAbortProcedureRunsAtEachEndPageAndCanStopTheJob) {
  abortProcCalls = 0;
  const HDC dc = NewPrinterDc();
  SetAbortProc(dc, StopAtSecondPage);
  DOCINFO info;
  StartDoc(dc, &info);
  StartPage(dc);
  EXPECT_GT(EndPage(dc), 0);
  StartPage(dc);
  EXPECT_EQ(EndPage(dc), SP_APPABORT);
  EXPECT_EQ(abortProcCalls, 2);
  EXPECT_EQ(StartPage(dc), SP_ERROR);
  EXPECT_EQ(EndDoc(dc), SP_ERROR);
  EXPECT_EQ(FilesInFolder(), 0);
  EXPECT_TRUE(printedJobs()[0].aborted);
  DeleteDC(dc);
}

TEST_F(Printing, DeletingTheDcInsideTheJobLeavesNothingBehind) {
  const HDC dc = NewPrinterDc();
  DOCINFO info;
  StartDoc(dc, &info);
  StartPage(dc);
  EndPage(dc);
  StartPage(dc);
  DeleteDC(dc);
  EXPECT_EQ(FilesInFolder(), 0);
  EXPECT_TRUE(printedJobs()[0].aborted);

  // An abort procedure that deletes the DC while EndPage runs.
  const HDC other = NewPrinterDc();
  SetAbortProc(other, DeleteTheDc);
  StartDoc(other, &info);
  StartPage(other);
  EXPECT_EQ(EndPage(other), SP_APPABORT);
  EXPECT_EQ(FilesInFolder(), 0);
}

TEST_F(Printing, OutOfOrderCallsFail) {
  const HDC dc = NewPrinterDc();
  DOCINFO info;
  EXPECT_EQ(StartPage(dc), SP_ERROR);
  EXPECT_EQ(EndPage(dc), SP_ERROR);
  ASSERT_GT(StartDoc(dc, &info), 0);
  EXPECT_EQ(StartDoc(dc, &info), SP_ERROR);
  EXPECT_EQ(EndPage(dc), SP_ERROR);
  StartPage(dc);
  EXPECT_EQ(StartPage(dc), SP_ERROR);
  // EndDoc ends the open page too: what was drawn is printed.
  EXPECT_GT(EndDoc(dc), 0);
  EXPECT_EQ(printedJobs()[0].files.size(), 1u);
  DeleteDC(dc);
  EXPECT_EQ(CreateDC("winspool", "No Such Printer", nullptr, nullptr), 0u);
  EXPECT_EQ(StartDoc(0, &info), SP_ERROR);
}

TEST_F(Printing, APageNeverReplacesAFifoOrASocket) {
  const HDC dc = NewPrinterDc();
  DOCINFO info;
  // A FIFO where the page's final name goes: the job fails at its end.
  int job = StartDoc(dc, &info);
  const std::string fifo = folder_ + "/job" + std::to_string(job) + "-page1.bmp";
  ASSERT_TRUE(testfiles::MakeFifo(fifo));
  StartPage(dc);
  EXPECT_GT(EndPage(dc), 0);
  EXPECT_EQ(EndDoc(dc), SP_ERROR);
  EXPECT_TRUE(testfiles::IsFifo(fifo));
  EXPECT_TRUE(printedJobs().back().aborted);
  EXPECT_EQ(FilesInFolder(), 1);

  // A socket where the page waits for the job's end: the page fails.
  job = StartDoc(dc, &info);
  const std::string socket = folder_ + "/job" + std::to_string(job) + "-page1.bmp.part";
  ASSERT_TRUE(testfiles::MakeSocket(socket));
  StartPage(dc);
  EXPECT_EQ(EndPage(dc), SP_ERROR);
  EXPECT_TRUE(testfiles::IsSocket(socket));
  EXPECT_TRUE(printedJobs().back().aborted);
  EXPECT_EQ(FilesInFolder(), 2);
  DeleteDC(dc);
}

TEST_F(Printing, WithoutAnOutputFolderPagesAreDropped) {
  virtualPrinter().outputFolder.clear();
  ::unsetenv("PAGEWELL_PRINTER_OUTPUT");
  const HDC dc = NewPrinterDc();
  DOCINFO info;
  StartDoc(dc, &info);
  StartPage(dc);
  EXPECT_GT(EndPage(dc), 0);
  EXPECT_GT(EndDoc(dc), 0);
  DeleteDC(dc);
  EXPECT_TRUE(printedJobs()[0].finished);
  EXPECT_TRUE(printedJobs()[0].files.empty());
  EXPECT_EQ(FilesInFolder(), 0);
}

TEST_F(Printing, AMonochromeDeviceModeGivesAOneBitPrinter) {
  DEVMODE mode;
  mode.dmFields = DM_COLOR;
  mode.dmColor = DMCOLOR_MONOCHROME;
  const HDC dc = CreateDC("winspool", virtualPrinter().deviceName.c_str(), nullptr, &mode);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 1);
  DOCINFO info;
  StartDoc(dc, &info);
  StartPage(dc);
  const HBRUSH grey = CreateSolidBrush(RGB(100, 100, 100));
  const RECT rect{0, 0, 20, 20};
  FillRect(dc, &rect, grey);
  DeleteObject(grey);
  EndDoc(dc);
  DeleteDC(dc);
  gui::TBitmap page;
  page.LoadFromFile(printedJobs()[0].files[0]);
  const COLORREF pixel = page.Canvas().Pixels(5, 5);
  EXPECT_TRUE(pixel == 0u || pixel == 0xFFFFFFu) << std::hex << pixel;
}

}  // namespace
}  // namespace win

namespace gui {
namespace {

TEST(GuiPrinter, NamesTheVirtualPrinterAndMeasuresIt) {
  win::resetVirtualPrinter();
  TPrinter printer;
  std::string device, driver, port;
  win::HGLOBAL mode = 0;
  printer.GetPrinter(device, driver, port, mode);
  EXPECT_EQ(device, win::virtualPrinter().deviceName);
  EXPECT_NE(mode, 0u);
  EXPECT_EQ(printer.PageWidth(), 2550);
  EXPECT_EQ(printer.PageHeight(), 3300);
  EXPECT_NE(Printer(), nullptr);
}

TEST(GuiPrinter, AnUnknownPrinterIsNotValid) {
  TPrinter printer;
  printer.SetPrinter("No Such Printer", "winspool", "LPT1:", 0);
  try {
    printer.Handle();
    FAIL() << "no exception";
  } catch (const EPrinter& error) {
    EXPECT_EQ(error.Message(), "Printer selected is not valid");
  }
  printer.SetPrinter("", "", "", 0);  // the screen is no printer either
  EXPECT_THROW(printer.PageWidth(), EPrinter);
}

TEST(GuiPrintDialog, AnswersWhatWasConfigured) {
  ResetPrintDialogs();
  TPrintDialog dialog(nullptr);
  EXPECT_TRUE(dialog.Execute());
  SetPrintDialogAnswer(false);
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(PrintDialogsShown(), 2);
  ResetPrintDialogs();
}

}  // namespace
}  // namespace gui
