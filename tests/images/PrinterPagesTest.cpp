#include "images/PrinterPages.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "images/TPNGImage.h"
#include "platform/gui/TCanvas.h"
#include "platform/win/gdi/BrushObject.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/PrintJobs.h"
#include "platform/win/gdi/Shapes.h"
#include "platform/win/gdi/VirtualPrinter.h"

namespace images {
namespace {

TEST(PrinterPages, PagesAreWrittenAsPngFilesWithWhatWasDrawn) {
  const std::string folder = testing::TempDir() + "/printer_pages_png";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  win::resetVirtualPrinter();
  win::clearPrintedJobs();
  win::virtualPrinter().paperWidth = 64;
  win::virtualPrinter().paperHeight = 48;
  win::virtualPrinter().outputFolder = folder;
  InstallPngPageWriter();

  const win::HDC dc = win::CreateDC("winspool", win::virtualPrinter().deviceName.c_str(), nullptr, nullptr);
  win::DOCINFO info;
  ASSERT_GT(win::StartDoc(dc, &info), 0);
  win::StartPage(dc);
  const win::HBRUSH red = win::CreateSolidBrush(win::RGB(255, 0, 0));
  const win::RECT rect{10, 10, 20, 20};
  win::FillRect(dc, &rect, red);
  win::DeleteObject(red);
  win::EndPage(dc);
  win::EndDoc(dc);
  win::DeleteDC(dc);

  ASSERT_EQ(win::printedJobs().size(), 1u);
  ASSERT_EQ(win::printedJobs()[0].files.size(), 1u);
  const std::string& file = win::printedJobs()[0].files[0];
  EXPECT_EQ(std::filesystem::path(file).extension(), ".png");
  TPNGImage page;
  page.LoadFromFile(file);
  EXPECT_EQ(page.Width(), 64);
  EXPECT_EQ(page.Height(), 48);
  EXPECT_EQ(page.Canvas().Pixels(15, 15), win::RGB(255, 0, 0));
  EXPECT_EQ(page.Canvas().Pixels(25, 15), win::RGB(255, 255, 255));

  win::resetVirtualPrinter();
  win::clearPrintedJobs();
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace images
