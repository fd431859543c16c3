#include "images/TGIFImage.h"

#include <algorithm>
#include <new>

#include "images/DisplayPalette.h"
#include "images/TGif.h"
#include "platform/gui/Exception.h"
#include "platform/gui/GdiCalls.h"
#include "platform/win/kernel/Clock.h"
#include "platform/win/user/Painting.h"

namespace images {

TGIFImage::TGIFImage() = default;
TGIFImage::~TGIFImage() = default;

std::unique_ptr<TGIFImage> TGIFImage::CreateCopy(const TGIFImage& Source) {
  auto copy = std::make_unique<TGIFImage>();
  copy->width_ = Source.width_;
  copy->height_ = Source.height_;
  copy->animated_ = Source.animated_;
  copy->numFrames_ = Source.numFrames_;
  copy->numIterations_ = Source.numIterations_;
  copy->transparent_ = Source.transparent_;
  copy->visible_ = Source.visible_;
  copy->strip_ = Source.strip_;
  copy->isCopy_ = true;
  copy->frames_ = Source.frames_;
  // NOTE: a copy starts at frame 1 whatever frame the source shows.
  copy->currentFrame_ = 1;
  copy->currentIteration_ = 1;
  return copy;
}

int TGIFImage::FrameDelay(int Frame) const {
  if (Frame < 1 || Frame > static_cast<int>(frames_.size())) return 1;
  return std::max(frames_[static_cast<std::size_t>(Frame - 1)].Delay, 1);
}

void TGIFImage::DrawCurrentFrame(gui::TCanvas& Canvas, int X, int Y, int W, int H) {
  screenRect_ = win::RECT{X, Y, X + W, Y + H};
  win::SetStretchBltMode(Canvas.Handle(), win::COLORONCOLOR);
  if (!visible_ || numFrames_ == 0 || !strip_) return;
  Canvas.SetCopyMode(win::SRCCOPY);
  strip_->DrawBitmapPart(Canvas, screenRect_,
                         win::RECT{(currentFrame_ - 1) * width_, 0, currentFrame_ * width_, height_});
}

void TGIFImage::AdvanceAnimation(win::HWND Panel) {
  if (!animating_) return;
  const win::DWORD now = win::timeGetTime();
  // Unsigned: the millisecond count wraps after 49.7 days.
  if (static_cast<win::DWORD>(now - lastChangeTime_) < static_cast<win::DWORD>(currentDelay_)) return;
  lastChangeTime_ = now;
  if (currentFrame_ >= numFrames_) {
    if (numIterations_ > 0 && currentIteration_ >= numIterations_) {
      SetAnimating(false);
      return;
    }
    ++currentIteration_;
  }
  ++currentFrame_;
  if (currentFrame_ > numFrames_ || currentFrame_ <= 0) currentFrame_ = 1;
  if (Panel) win::InvalidateRect(Panel, &screenRect_, win::TRUE);
  currentDelay_ = FrameDelay(currentFrame_);
}

void TGIFImage::SetAnimating(bool Value) {
  if (Value == animating_) return;
  animating_ = Value;
  if (Value && numFrames_ > 1) {
    currentDelay_ = FrameDelay(currentFrame_);
    lastChangeTime_ = win::timeGetTime();
  }
}

void TGIFImage::SelectFrame(int N) {
  if (N == currentFrame_) return;
  if (N > numFrames_) currentFrame_ = 1;
  else if (N <= 0) currentFrame_ = numFrames_;
  else currentFrame_ = N;
}

namespace {

// The leftmost width x height of a bitmap, in a new bitmap of its kind.
std::unique_ptr<gui::TBitmap> leftPart(gui::TBitmap& source, int width, int height) {
  auto part = std::make_unique<gui::TBitmap>();
  if (source.Monochrome()) part->SetMonochrome(true);
  else part->SetPixelFormat(source.PixelFormat());
  part->SetSize(width, height);
  win::BitBlt(part->Canvas().Handle(), 0, 0, width, height, source.Canvas().Handle(), 0, 0, win::SRCCOPY);
  return part;
}

}  // namespace

gui::TBitmap* TGIFImage::GetFirstFrameBitmap() {
  if (firstFrame_ || !strip_) return firstFrame_.get();
  // Only frame 1 is copied, not the whole strip.
  firstFrame_ = leftPart(*strip_, width_, height_);
  if (strip_->HtTransparent()) firstFrameMask_ = leftPart(*strip_->Mask(), width_, height_);
  firstFrame_->SetTransparent(false);
  return firstFrame_.get();
}

gui::TBitmap* TGIFImage::GetFirstFrameMask() {
  if (!transparent_) return nullptr;
  if (!firstFrameMask_) GetFirstFrameBitmap();
  return firstFrameMask_.get();
}

std::unique_ptr<TGIFImage> GifImageFromStream(bool& NonAnimated, gui::TStream& Stream) {
  NonAnimated = true;
  try {
    TGif gif;
    gif.LoadGifData(Stream);
    std::unique_ptr<gui::TBitmap> mask;
    std::unique_ptr<gui::TBitmap> decoded = gif.BuildGifStrip(mask);
    auto image = std::make_unique<TGIFImage>();
    image->numFrames_ = gif.ImageCount();
    image->animated_ = image->numFrames_ > 1;
    NonAnimated = image->numFrames_ < 2;
    image->width_ = gif.ScreenWidth();
    image->height_ = gif.ScreenHeight();
    const int loops = gif.LoopCount();
    image->numIterations_ = loops < 0 ? 1 : loops == 0 ? 0 : loops + 1;
    image->transparent_ = gif.AnyTransparent();
    // The decoded strip's pixels move over; nothing is copied.
    image->ownedStrip_ = std::make_unique<ThtBitmap>();
    image->ownedStrip_->SetHandle(decoded->ReleaseHandle());
    image->ownedStrip_->SetMask(std::move(mask));
    image->strip_ = image->ownedStrip_.get();
    if (const win::HPALETTE old = image->ownedStrip_->ReleasePalette()) win::DeleteObject(old);
    image->ownedStrip_->SetPalette(ClonePalette(DisplayPalette));
    for (int i = 0; i < image->numFrames_; ++i)
      image->frames_.push_back(TgfFrame{gif.ImageLeft(i), gif.ImageTop(i), gif.ImageWidth(i), gif.ImageHeight(i),
                                        std::max(kMinimumFrameDelay, gif.ImageDelay(i) * 10),
                                        static_cast<std::uint8_t>(gif.Image(i).GraphicControl()
                                                                      ? gif.Image(i).GraphicControl()->Disposal
                                                                      : 0)});
    return image;
  } catch (const gui::Exception&) {
  } catch (const std::bad_alloc&) {
  }
  NonAnimated = true;
  return nullptr;
}

std::unique_ptr<TGIFImage> GifImageFromFile(const std::string& FileName, bool& NonAnimated) {
  NonAnimated = true;
  try {
    gui::TMemoryStream stream;
    stream.LoadFromFile(FileName, gui::TFileKind::Image);
    return GifImageFromStream(NonAnimated, stream);
  } catch (const gui::Exception&) {
    return nullptr;
  }
}

}  // namespace images
