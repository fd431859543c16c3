// Printing: a copy of the document laid out once at the width between the
// print margins and painted page by page on the printer in a scaled mapping
// mode, with repeated table header and footer rows, blanking outside the
// page body, optional backgrounds, plain and HTML headers and footers; and
// measuring a document at a given width.
#include <algorithm>
#include <cmath>
#include <exception>

#include "engine/common/EngineStartup.h"
#include "engine/document/TSectionList.h"
#include "engine/tables/TTablePartRec.h"
#include "images/TStringBitmapList.h"
#include "platform/gui/GdiCalls.h"
#include "platform/win/gdi/RegionObject.h"
#include "platform/gui/TApplication.h"
#include "platform/gui/TScreen.h"
#include "platform/win/kernel/Arithmetic.h"
#include "platform/win/kernel/CodePages.h"
#include "viewer/BackgroundTiles.h"
#include "viewer/THTMLViewer.h"
#include "viewer/TPrintGeometry.h"
#include "viewer/TvwPrinter.h"

namespace viewer {

// The state of one print run. The viewer and the run's stack frame share it:
// a viewer destroyed inside a message pump ends the job through it, and the
// frame then leaves without touching the viewer.
struct TPrintRun {
  std::shared_ptr<TPrintRun> Outer;  // the run this one is nested in
  std::shared_ptr<bool> Alive;
  std::unique_ptr<TvwPrinter> OwnPrinter;  // made by this run, which then owns the job
  TvwPrinter* Printer = nullptr;
  TvwPrinter* Previous = nullptr;  // current before the run
  std::unique_ptr<engine::TSectionList> Copy;
  std::unique_ptr<THTMLViewer> HeaderViewer, FooterViewer;
  gui::TCanvas* Canvas = nullptr;
  gui::TPen Pen;
  gui::TFont Font;
  gui::TBrush Brush;
  TPrintGeometry Start, Geo;
  double StartMarginTop = 0, AppliedMarginTop = 0;
  int FromPage = 0, ToPage = 0, PageNo = 0, DocHeight = 0, Y = 0;
  bool Stop = false;
};

namespace {

// Table passes per page: the table state machine needs at most three.
constexpr int kMaxPassesPerPage = 8;
constexpr int kPaintClipWidth = 6000;
constexpr int kHeaderFooterPageHeight = 300;
constexpr int kMeasurePageHeight = 300;
constexpr gui::TColor kWhite = 0xFFFFFF;

// Raised when a handler or a pump destroyed the viewer during a run.
struct ViewerGone {};

// Raised when a handler aborted the job: nothing more is drawn.
struct JobAborted {};

void CheckAlive(const TPrintRun& Run) {
  if (!*Run.Alive) throw ViewerGone{};
}

// After a handler ran: the viewer and the job must still be there.
void CheckHandler(const TPrintRun& Run) {
  CheckAlive(Run);
  if (!Run.Printer->PrintingActive()) throw JobAborted{};
}

// Messages handled here may load, free the viewer or abort the job.
void Pump(const TPrintRun& Run) {
  gui::Application->ProcessMessages();
  CheckHandler(Run);
}


void ApplyMapping(win::HDC DC, const TPrintGeometry& G) {
  win::SetMapMode(DC, win::MM_ANISOTROPIC);
  win::SetWindowExtEx(DC, G.Inch, G.Inch, nullptr);
  win::SetViewportExtEx(DC, G.DpiX, G.DpiY, nullptr);
}

void ClipTo(win::HDC DC, int Left, int Top, int Right, int Bottom) {
  const win::HRGN region = win::CreateRectRgn(Left, Top, Right, Bottom);
  win::SelectClipRgn(DC, region);
  win::DeleteObject(region);
}

int ToDeviceY(int Logical, const TPrintGeometry& G) { return win::MulDiv(Logical, G.DpiY, G.Inch); }

void SaveCanvasState(TPrintRun& Run) {
  Run.Pen.Assign(&Run.Canvas->Pen());
  Run.Font.Assign(&Run.Canvas->Font());
  Run.Brush.Assign(&Run.Canvas->Brush());
}

void RestoreCanvasState(TPrintRun& Run) {
  Run.Canvas->SetPen(Run.Pen);
  Run.Canvas->SetFont(Run.Font);
  Run.Canvas->SetBrush(Run.Brush);
}

std::string JobTitleOf(const std::u16string& Title) {
  if (Title.empty()) return {};
  const auto* text = reinterpret_cast<const win::WCHAR*>(Title.data());
  const int size = static_cast<int>(Title.size());
  const int bytes = win::WideCharToMultiByte(win::CP_UTF8, 0, text, size, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string result(static_cast<std::size_t>(bytes), '\0');
  win::WideCharToMultiByte(win::CP_UTF8, 0, text, size, result.data(), bytes, nullptr, nullptr);
  return result;
}

void PrintWithCopy(engine::TSectionList& Copy, const TPrintGeometry& G) {
  Copy.Printing = true;
  Copy.ScaleX = 100.0f / static_cast<float>(G.DpiX);
  Copy.ScaleY = 100.0f / static_cast<float>(G.DpiY);
}

}  // namespace

void THTMLViewer::PrintPages(int FromPage, int ToPage) {
  pageNo_ = 0;
  printNoRoom_ = false;
  // A nested run (from a header or footer handler) finds our own busy flag.
  if ((busy_ && !printRun_) || root_->Empty()) return;
  auto run = std::make_shared<TPrintRun>();
  run->Outer = printRun_;
  run->Alive = alive_;
  run->FromPage = FromPage;
  run->ToPage = ToPage;
  run->StartMarginTop = PrintMarginTop;
  const bool wasBusy = busy_;
  printRun_ = run;
  SetBusy(true);
  try {
    RunPrint(*run);
  } catch (const ViewerGone&) {
    return;  // the destructor ended the job
  } catch (const JobAborted&) {
    // The run ends quietly: the job was aborted on purpose.
  } catch (...) {
    if (!*run->Alive) return;
    EndPrintRun(*run);
    if (!wasBusy) SetBusy(false);
    throw;
  }
  EndPrintRun(*run);
  if (!wasBusy) SetBusy(false);
}

void THTMLViewer::RunPrint(TPrintRun& Run) {
  Run.Copy = engine::TSectionList::CreateCopy(*root_);
  engine::TSectionList& copy = *Run.Copy;
  copy.SetYOffset(0);
  copy.Background = kWhite;
  copy.TablePartSlot = nullptr;
  if (Run.Outer) {
    Run.Printer = Run.Outer->Printer;
  } else {
    Run.OwnPrinter = std::make_unique<TvwPrinter>();
    Run.Printer = Run.OwnPrinter.get();
    Run.Previous = SetCurrentPrinterObject(Run.Printer);
  }
  Run.PageNo = 1;
  if (!titleText_.empty()) Run.Printer->JobTitle = JobTitleOf(titleText_);
  if (Run.Printer->PrintingActive()) {
    Run.Printer->NextPage();
    CheckAlive(Run);
  } else {
    Run.Printer->StartJob();
  }
  Run.Canvas = &Run.Printer->GetCanvas();
  SaveCanvasState(Run);
  const win::HDC dc = Run.Canvas->Handle();
  const int inch = static_cast<int>(std::lround(gui::Screen->PixelsPerInch() * printScale_));
  Run.Start = TPrintGeometry::Compute(TPrinterMetrics::Read(dc), inch,
                                      {PrintMarginLeft, PrintMarginRight, PrintMarginTop, PrintMarginBottom});
  Run.Geo = Run.Start;
  Run.AppliedMarginTop = PrintMarginTop;
  if (Run.Geo.Empty()) {
    Run.PageNo = 0;  // no room between the margins: nothing is printed
    printNoRoom_ = true;
    return;
  }
  PrintWithCopy(copy, Run.Geo);
  ApplyMapping(dc, Run.Geo);
  int maxWidth = 0, curs = 0;
  Run.DocHeight = copy.LayoutContent(Run.Canvas, 0, Run.Geo.Width, Run.Geo.Height, 0, maxWidth, curs);
  Pump(Run);
  if (OnPrintHTMLHeader) Run.HeaderViewer = CreateHeaderFooterViewer();
  if (OnPrintHTMLFooter) Run.FooterViewer = CreateHeaderFooterViewer();
  int lastY = 0;
  while (Run.PageNo <= Run.ToPage && !Run.Stop) {
    PrintPageBody(Run);
    if (Run.PageNo >= Run.FromPage) PrintHeadersAndFooters(Run);
    FollowTopMargin(Run);
    Run.Y = copy.VisibleBottom;
    Pump(Run);
    if (Run.Y >= Run.DocHeight - marginHeight_ || Run.Y <= lastY) Run.Stop = true;
    lastY = Run.Y;
    if (!Run.Stop && Run.FromPage <= Run.PageNo && Run.PageNo < Run.ToPage) {
      Run.Printer->NextPage();  // the abort procedure pumps here
      CheckAlive(Run);
    }
    if (!Run.Printer->PrintingActive()) Run.Stop = true;  // aborted from a handler
    ++Run.PageNo;
  }
}

// A handler may have moved the top margin: later pages use it (the copy is
// not laid out again).
void THTMLViewer::FollowTopMargin(TPrintRun& Run) {
  if (PrintMarginTop == Run.AppliedMarginTop) return;
  Run.AppliedMarginTop = PrintMarginTop;
  Run.Geo.MoveTop(Run.Start, PrintMarginTop - Run.StartMarginTop);
}

void THTMLViewer::PrintPageBody(TPrintRun& Run) {
  const TPrintGeometry& g = Run.Geo;
  const win::HDC dc = Run.Canvas->Handle();
  Run.Copy->SetYOffset(Run.Y - g.Top);
  ApplyMapping(dc, g);
  win::SetWindowOrgEx(dc, 0, 0, nullptr);
  ClipTo(dc, g.BodyClip.left, g.BodyClip.top, g.BodyClip.right, g.BodyClip.bottom);
  int x = g.Left;
  if (Run.PageNo < Run.FromPage) {
    x = 3 * g.Width + g.Left;  // beside the paper: the tables still keep their page state
  } else if (options_ & htPrintBackground) {
    PrintBackground(*Run.Canvas, g.Left, paintPanel_->Color(), g.Height, g.Width, g.Top);
  }
  PrintPasses(Run, x);
  win::SelectClipRgn(dc, 0);
}

// The body, then as many passes as a table split over pages asks for: its
// header rows at the page top, the body after them, its footer rows at the
// page bottom.
void THTMLViewer::PrintPasses(TPrintRun& Run, int X) {
  engine::TSectionList& copy = *Run.Copy;
  const TPrintGeometry& g = Run.Geo;
  const win::HDC dc = Run.Canvas->Handle();
  for (int pass = 0; pass < kMaxPassesPerPage; ++pass) {
    engine::TTablePartRec* part = copy.TablePartSlot;
    const int type = part ? part->PartType : 0;
    if (pass > 0 && (type <= 1 || type == 4)) break;
    win::RECT r = g.BodyRect;
    if (type == 1) {
      copy.SetYOffset(part->PartStart - g.Top);
      ClipTo(dc, g.LeftDev, g.TopDev, g.LeftDev + g.WidthDev + 2, ToDeviceY(g.Top + part->PartHeight, g));
      r.bottom = g.Top + part->PartHeight;
      copy.PaintContent(Run.Canvas, r, kPaintClipWidth, X, 0, 0, 0);
    } else if (type == 2 || type == 3 || type == 4) {
      const int t2 = copy.VisibleBottom - copy.YOffset - 1;
      copy.SetYOffset(part->PartStart - t2);
      r.top = t2;
      // Beside the paper first, so that the table finds where this page ends.
      copy.PaintContent(Run.Canvas, r, kPaintClipWidth, X + 3 * g.Width, 0, 0, 0);
      if (copy.TablePartSlot) copy.TablePartSlot->PartType = 3;
      ClipTo(dc, g.LeftDev, ToDeviceY(t2, g), g.LeftDev + g.WidthDev + 2,
             ToDeviceY(copy.VisibleBottom - copy.YOffset + 1, g));
      copy.PaintContent(Run.Canvas, r, kPaintClipWidth, X, 0, 0, 0);
      if (!copy.TablePartSlot || copy.TablePartSlot->PartType != 0)
        BlankOutside(Run, copy.VisibleBottom - copy.YOffset);
    } else if (type == 5) {
      const int pageBottom = copy.VisibleBottom;
      const int t2 = pageBottom - copy.YOffset;
      ClipTo(dc, g.LeftDev, ToDeviceY(t2, g), g.LeftDev + g.WidthDev + 2, ToDeviceY(t2 + part->PartHeight, g));
      copy.SetYOffset(part->PartStart - t2);
      r.top = t2;
      copy.PaintContent(Run.Canvas, r, kPaintClipWidth, X, 0, 0, 0);
      copy.VisibleBottom = pageBottom;
    } else {
      copy.PaintContent(Run.Canvas, r, kPaintClipWidth, X, 0, 0, 0);
      BlankOutside(Run, copy.VisibleBottom - copy.YOffset);
    }
  }
}

// Hides what lines painted above the body and below the page's end left on
// the paper; with backgrounds on, the background is printed there again.
void THTMLViewer::BlankOutside(TPrintRun& Run, int E) {
  const TPrintGeometry& g = Run.Geo;
  gui::TCanvas& canvas = *Run.Canvas;
  canvas.Brush().SetColor(kWhite);
  canvas.Brush().SetStyle(gui::bsSolid);
  canvas.Pen().SetColor(kWhite);
  canvas.FillRect({g.Left, 0, g.Left + g.Width + 1, g.Top - 1});
  canvas.FillRect({g.Left, E, g.Left + g.Width + 1, g.Top + g.Height + 1});
  if ((options_ & htPrintBackground) && E - g.Top < g.Height) {
    ClipTo(canvas.Handle(), g.LeftDev, ToDeviceY(E, g) - 2, g.LeftDev + g.WidthDev, g.TopDev + g.HeightDev);
    PrintBackground(canvas, g.Left, paintPanel_->Color(), g.Height, g.Width, g.Top);
  }
  RestoreCanvasState(Run);
}

void THTMLViewer::PrintHeadersAndFooters(TPrintRun& Run) {
  const TPrintGeometry& g = Run.Geo;
  gui::TCanvas& canvas = *Run.Canvas;
  const win::HDC dc = canvas.Handle();
  canvas.SetPen(Run.Pen);
  const win::UINT oldAlign = win::SetTextAlign(dc, win::TA_LEFT | win::TA_TOP);
  bool stop = false;
  if (OnPrintHeader) {
    win::SetWindowOrgEx(dc, 0, 0, nullptr);
    OnPrintHeader(this, canvas, Run.PageNo, g.PageWidth, g.Top, stop);
    CheckHandler(Run);
  }
  if (OnPrintFooter) {
    // Y 0 is the bottom of the body.
    win::SetWindowOrgEx(dc, 0, -(g.Top + g.Height), nullptr);
    OnPrintFooter(this, canvas, Run.PageNo, g.PageWidth, g.PageHeight - g.Top - g.Height, stop);
    CheckHandler(Run);
  }
  Run.Stop = Run.Stop || stop;
  PrintHTMLBand(Run, false);
  PrintHTMLBand(Run, true);
  win::SetWindowOrgEx(dc, 0, 0, nullptr);
  win::SetTextAlign(dc, oldAlign);
  RestoreCanvasState(Run);
}

void THTMLViewer::PrintHTMLBand(TPrintRun& Run, bool IsFooter) {
  const ThtmlPagePrinted& event = IsFooter ? OnPrintHTMLFooter : OnPrintHTMLHeader;
  THTMLViewer* band = IsFooter ? Run.FooterViewer.get() : Run.HeaderViewer.get();
  if (!event || !band) return;
  const TPrintGeometry& g = Run.Geo;
  int xl = g.Left, xr = g.Left + g.Width;
  bool stop = false;
  event(this, *band, Run.PageNo, Run.DocHeight < Run.Copy->VisibleBottom, xl, xr, stop);
  CheckHandler(Run);
  Run.Stop = Run.Stop || stop;
  try {
    auto copy = engine::TSectionList::CreateCopy(band->Document());
    PrintWithCopy(*copy, g);
    int maxWidth = 0, curs = 0;
    const int h = copy->LayoutContent(Run.Canvas, 0, std::max(0, xr - xl), kHeaderFooterPageHeight, 0, maxWidth,
                                      curs);
    int originY = 0, area = g.Top;
    if (IsFooter) {
      originY = -(g.Top + g.Height);
      area = std::min(g.PageHeight - g.Top - g.Height, h);
      copy->SetYOffset(0);
    } else {
      copy->SetYOffset(h - g.Top);  // the header's bottom touches the body
    }
    win::SetWindowOrgEx(Run.Canvas->Handle(), 0, originY, nullptr);
    band->PrintBackground(*Run.Canvas, xl, band->PaintPanel().Color(), area, xr - xl, 0);
    copy->PaintContent(Run.Canvas, {xl, 0, xr, area}, kPaintClipWidth, xl, 0, 0, 0);
  } catch (const std::exception&) {
    // A header or footer that cannot be printed is left off this page.
  }
}

// Ends or aborts the job this run owns, puts the previous printer object
// back and frees what the run made. Safe after a partial start.
void THTMLViewer::EndPrintRun(TPrintRun& Run) {
  Run.HeaderViewer.reset();
  Run.FooterViewer.reset();
  std::exception_ptr failure;
  if (Run.Canvas && Run.Canvas->HandleAllocated()) win::SelectClipRgn(Run.Canvas->Handle(), 0);
  // A canvas draws only during a job.
  if (Run.Canvas && Run.Printer->PrintingActive()) RestoreCanvasState(Run);
  if (Run.OwnPrinter) {
    try {
      if (Run.OwnPrinter->PrintingActive()) {
        // PageNo is one past the last page: abort when no page in range was drawn.
        if (Run.PageNo - 1 < Run.FromPage) Run.OwnPrinter->AbortJob();
        else Run.OwnPrinter->FinishJob();
      }
    } catch (...) {
      failure = std::current_exception();
    }
    SetCurrentPrinterObject(Run.Previous);
    Run.Canvas = nullptr;
    Run.OwnPrinter.reset();
  }
  pageNo_ = std::max(0, Run.PageNo - 1);
  PrintMarginTop = Run.StartMarginTop;
  Run.Copy.reset();
  printRun_ = Run.Outer;
  if (failure) std::rethrow_exception(failure);
}

// A viewer going away during a run: the job ends without output and every
// run on the stack lets go of the document copies before the images go.
void THTMLViewer::AbandonPrintRuns() {
  for (std::shared_ptr<TPrintRun> run = printRun_; run; run = run->Outer) {
    run->HeaderViewer.reset();
    run->FooterViewer.reset();
    run->Copy.reset();
    if (!run->OwnPrinter) continue;
    try {
      if (run->OwnPrinter->PrintingActive()) run->OwnPrinter->AbortJob();
    } catch (...) {
      // Nothing can be reported from a destructor; the printer object goes below.
    }
    SetCurrentPrinterObject(run->Previous);
    run->OwnPrinter.reset();
  }
  printRun_.reset();
}

std::unique_ptr<THTMLViewer> THTMLViewer::CreateHeaderFooterViewer() {
  // Hidden and without a parent: it only lays out and is never shown.
  auto band = std::make_unique<THTMLViewer>(nullptr);
  band->SetVisible(false);
  band->SetDefBackground(defBackground_);
  band->SetDefFontName(defFontName_);
  band->SetDefFontSize(defFontSize_);
  band->SetDefFontColor(defFontColor_);
  band->SetCharSet(charSet_);
  band->SetMarginHeight(0);
  band->SethtOptions(band->htOptions() | htPrintTableBackground | htPrintBackground);
  return band;
}

void THTMLViewer::PrintBackground(gui::TCanvas& Canvas, int X, gui::TColor Color, int Height, int Width, int Y) {
  const win::RECT r{X, Y, X + Width, Y + Height};
  const win::HDC dc = Canvas.Handle();
  Canvas.Brush().SetColor(gui::ColorToRGB(Color) | engine::PaletteRGBFlag);
  Canvas.Brush().SetStyle(gui::bsSolid);
  win::SetBkColor(dc, kWhite);
  win::SetTextColor(dc, 0);
  Canvas.FillRect(r);
  images::TBitmapItem* item = paintPanel_->BackgroundItem();
  int iw = 0, ih = 0;
  if (!item || !TPaintPanel::ImageSize(*item, iw, ih) || iw < 1 || ih < 1) return;
  const TileRun xs = TileAxis(root_->BackgroundPos.X, Width, iw, -X, r.left, r.right);
  const TileRun ys = TileAxis(root_->BackgroundPos.Y, Height, ih, -Y, r.top, r.bottom);
  try {
    TPaintPanel::DrawTiles(Canvas, *item, iw, ih, xs, ys);
  } catch (const std::exception&) {
    // An image that cannot be drawn ends the tiling; the colour stays.
  }
}

void THTMLViewer::MeasureDocumentSize(int Width, win::POINT& Size) {
  Size = {0, 0};
  if (Width < 1) return;
  auto copy = engine::TSectionList::CreateCopy(*root_);
  int maxWidth = 0, curs = 0;
  const int height = copy->LayoutContent(&LayoutCanvas(), 0, Width, kMeasurePageHeight, 0, maxWidth, curs);
  Size = {maxWidth, height};
}

}  // namespace viewer
