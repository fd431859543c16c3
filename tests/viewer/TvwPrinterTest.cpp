// The viewer's printer object on the virtual printer: job and page state, the
// errors of misuse, the document name, aborts, and the abort procedure's pump.
#include "viewer/TvwPrinter.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/gui/TTimer.h"
#include "platform/win/gdi/PrintJobs.h"
#include "platform/win/gdi/VirtualPrinter.h"
#include "platform/win/kernel/Clock.h"

namespace viewer {
namespace {

class PrinterObject : public testing::Test {
 protected:
  void SetUp() override {
    win::resetVirtualPrinter();
    win::clearPrintedJobs();
    folder_ = testing::TempDir() + "/vwprinter_" + testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    win::virtualPrinter().outputFolder = folder_;
    // Small paper: the tests count pages, not pixels.
    win::virtualPrinter().paperWidth = 50;
    win::virtualPrinter().paperHeight = 70;
  }
  void TearDown() override {
    win::resetVirtualPrinter();
    win::clearPrintedJobs();
    std::filesystem::remove_all(folder_);
  }

  static std::string ErrorOf(const std::function<void()>& action) {
    try {
      action();
    } catch (const gui::EPrinter& error) {
      return error.Message();
    }
    return "";
  }

  std::string folder_;
};

TEST_F(PrinterObject, PagesOfAJobAreCountedAndWritten) {
  TvwPrinter printer;
  printer.StartJob();
  EXPECT_TRUE(printer.PrintingActive());
  EXPECT_EQ(printer.CurrentPage(), 1);
  printer.NextPage();
  printer.NextPage();
  EXPECT_EQ(printer.CurrentPage(), 3);
  printer.FinishJob();
  EXPECT_EQ(printer.CurrentPage(), 0);
  EXPECT_FALSE(printer.PrintingActive());
  ASSERT_EQ(win::printedJobs().size(), 1u);
  EXPECT_EQ(win::printedJobs()[0].files.size(), 3u);
}

TEST_F(PrinterObject, TheDocumentNameIsTheTitleCutTo31Characters) {
  TvwPrinter printer;
  printer.JobTitle = std::string(40, 'x');
  printer.StartJob();
  printer.FinishJob();
  EXPECT_EQ(win::printedJobs()[0].documentName, std::string(31, 'x'));
}

TEST_F(PrinterObject, MisuseRaisesTheClassLibrarysErrors) {
  TvwPrinter printer;
  EXPECT_EQ(ErrorOf([&] { printer.GetCanvas().FillRect(win::RECT{0, 0, 5, 5}); }),
            "Printer is not currently printing");
  EXPECT_EQ(ErrorOf([&] { printer.NextPage(); }), "Printer is not currently printing");
  printer.StartJob();
  EXPECT_EQ(ErrorOf([&] { printer.StartJob(); }), "Printing in progress");
  EXPECT_EQ(ErrorOf([&] { printer.SetPrinterDeviceState(TvwPrinter::kNoContext); }), "Printing in progress");
  EXPECT_EQ(printer.DeviceState(), TvwPrinter::kDeviceContext);
  printer.GetCanvas().FillRect(win::RECT{0, 0, 5, 5});
  printer.FinishJob();
}

TEST_F(PrinterObject, MeasuringDuringAJobKeepsTheDeviceContext) {
  win::resetVirtualPrinter();
  TvwPrinter printer;
  EXPECT_EQ(printer.PageWidthPixels(), 2550);
  EXPECT_EQ(printer.DeviceState(), TvwPrinter::kInformationContext);
  printer.StartJob();
  const win::HDC dc = printer.DC();
  EXPECT_EQ(printer.PageWidthPixels(), 2550);
  EXPECT_EQ(printer.PageHeightPixels(), 3300);
  EXPECT_EQ(printer.DeviceState(), TvwPrinter::kDeviceContext);
  EXPECT_EQ(printer.DC(), dc);
  printer.AbortJob();
}

TEST_F(PrinterObject, AbortJobEndsWithoutOutput) {
  TvwPrinter printer;
  printer.StartJob();
  printer.NextPage();
  printer.AbortJob();
  EXPECT_FALSE(printer.PrintingActive());
  EXPECT_EQ(printer.CurrentPage(), 0);
  EXPECT_FALSE(win::printedJobs()[0].finished);
  EXPECT_TRUE(win::printedJobs()[0].aborted);
  EXPECT_TRUE(std::filesystem::is_empty(folder_));
}

TEST_F(PrinterObject, AnInvalidPrinterLeavesNoContext) {
  gui::TPrinter* library = gui::Printer();
  std::string device, driver, port;
  win::HGLOBAL mode = 0;
  library->GetPrinter(device, driver, port, mode);
  library->SetPrinter("No Such Printer", driver, port, 0);
  TvwPrinter printer;
  EXPECT_EQ(ErrorOf([&] { printer.StartJob(); }), "Printer selected is not valid");
  EXPECT_EQ(printer.DC(), 0u);
  EXPECT_FALSE(printer.PrintingActive());
  library->SetPrinter(device, driver, port, 0);
  printer.StartJob();
  printer.FinishJob();
  EXPECT_EQ(win::printedJobs().size(), 1u);
}

TEST_F(PrinterObject, AMessageHandledInsideTheAbortProcedureCanAbortTheJob) {
  win::VirtualClock& clock = win::useVirtualClock();
  TvwPrinter printer;
  TvwPrinter* previous = SetCurrentPrinterObject(&printer);
  gui::TTimer timer(nullptr);
  timer.SetInterval(10);
  timer.OnTimer = [&](gui::TObject*) {
    timer.SetEnabled(false);
    printer.AbortJob();
  };
  printer.StartJob();
  printer.NextPage();  // the timer is not due yet
  clock.advance(20);
  printer.NextPage();  // EndPage runs the timer, which aborts
  EXPECT_FALSE(printer.PrintingActive());
  EXPECT_EQ(printer.CurrentPage(), 0);
  EXPECT_TRUE(std::filesystem::is_empty(folder_));
  EXPECT_EQ(SetCurrentPrinterObject(previous), &printer);
  win::setClock(nullptr);
}

TEST_F(PrinterObject, TheUnitMakesACurrentObjectOnDemandAndForgetsFreedOnes) {
  TvwPrinter* made = CurrentPrinterObject();
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(CurrentPrinterObject(), made);
  {
    TvwPrinter own;
    EXPECT_EQ(SetCurrentPrinterObject(&own), made);
    EXPECT_EQ(CurrentPrinterObject(), &own);
  }
  // A freed object never stays current.
  EXPECT_EQ(SetCurrentPrinterObject(nullptr), nullptr);
  FinalizePrinterUnit();
  EXPECT_NE(CurrentPrinterObject(), nullptr);
  FinalizePrinterUnit();
}

}  // namespace
}  // namespace viewer
