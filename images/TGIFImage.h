#pragma once
// TGIFImage: a GIF image, animated or not, as the document engine shows it.
// All frames are decoded once into a strip (ThtBitmap) holding them side by
// side, already composed; animating only chooses the part of the strip to
// draw and when, on the platform clock. Copies share the strip and animate
// on their own. Also the frame records and the two loaders.
#include <memory>
#include <string>
#include <vector>

#include "images/ThtBitmap.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"
#include "platform/gui/TPersistent.h"
#include "platform/gui/TStream.h"
#include "platform/win/Types.h"

namespace images {

// One frame as the decoder gave it: its rectangle on the logical screen, its
// delay in milliseconds (already converted) and its disposal method.
struct TgfFrame {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  int Delay = 0;
  std::uint8_t Disposal = 0;
};
using TgfFrameList = std::vector<TgfFrame>;

// Frames advance no faster than this (a GIF delay of 0, 1 or 2 hundredths).
constexpr int kMinimumFrameDelay = 30;

class TGIFImage : public gui::TPersistent {
 public:
  TGIFImage();
  // A second image over Source's strip, with its own frame list and clock,
  // starting at frame 1. Source must outlive it.
  static std::unique_ptr<TGIFImage> CreateCopy(const TGIFImage& Source);
  ~TGIFImage() override;

  bool Animated() const { return animated_; }
  int CurrentFrame() const { return currentFrame_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int NumFrames() const { return numFrames_; }
  // 0: for ever; otherwise the number of passes to play.
  int NumIterations() const { return numIterations_; }
  int CurrentIteration() const { return currentIteration_; }
  bool IsTransparent() const { return transparent_; }
  bool Visible() const { return visible_; }
  void SetVisible(bool Value) { visible_ = Value; }
  bool Animating() const { return animating_; }
  bool IsCopy() const { return isCopy_; }
  const win::RECT& ScreenRect() const { return screenRect_; }
  const TgfFrameList& Frames() const { return frames_; }
  ThtBitmap* Strip() const { return strip_; }

  // Draws the current frame into (X, Y, W, H) and remembers that rectangle.
  void DrawCurrentFrame(gui::TCanvas& Canvas, int X, int Y, int W, int H);
  // One tick of the document's animation timer: moves to the next frame when
  // the current one's delay is over and invalidates the last drawn rectangle
  // on Panel (0: none).
  void AdvanceAnimation(win::HWND Panel);
  void SetAnimating(bool Value);
  // Frame N, wrapping: above the count gives 1, 0 or less the last frame.
  void SelectFrame(int N);

  // Frame 1 as a bitmap of one frame's size, made on first use and owned by
  // the image; its mask (nullptr unless the GIF is transparent).
  gui::TBitmap* GetFirstFrameBitmap();
  gui::TBitmap* GetStillImage() { return GetFirstFrameBitmap(); }
  gui::TBitmap* GetFirstFrameMask();

 private:
  friend std::unique_ptr<TGIFImage> GifImageFromStream(bool& NonAnimated, gui::TStream& Stream);
  int FrameDelay(int Frame) const;

  bool animated_ = false;
  int currentFrame_ = 1;
  int width_ = 0;
  int height_ = 0;
  int numFrames_ = 0;
  int numIterations_ = 1;
  bool transparent_ = false;
  bool visible_ = true;
  ThtBitmap* strip_ = nullptr;
  std::unique_ptr<ThtBitmap> ownedStrip_;  // empty for copies
  int currentIteration_ = 1;
  bool animating_ = false;
  win::RECT screenRect_{};
  TgfFrameList frames_;
  win::DWORD lastChangeTime_ = 0;
  int currentDelay_ = 0;
  bool isCopy_ = false;
  std::unique_ptr<gui::TBitmap> firstFrame_;
  std::unique_ptr<gui::TBitmap> firstFrameMask_;
};

// Decodes a whole GIF; nullptr when it cannot be read. NonAnimated is true
// unless it has two frames or more.
std::unique_ptr<TGIFImage> GifImageFromStream(bool& NonAnimated, gui::TStream& Stream);
// The same from a file; nullptr also when the file cannot be opened.
std::unique_ptr<TGIFImage> GifImageFromFile(const std::string& FileName, bool& NonAnimated);

}  // namespace images
