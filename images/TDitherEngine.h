#pragma once
// The pixel engines colour reduction walks rows with, in serpentine order
// (left to right, then right to left): nearest colour, and Floyd-Steinberg
// error diffusion with one error row per channel.
#include <array>
#include <vector>

#include "images/TColorLookup.h"

namespace images {

class TDitherEngine {
 public:
  // Lookup is not owned.
  TDitherEngine(int Width, TColorLookup& Lookup) : FLookup(Lookup), FWidth(Width) {}
  virtual ~TDitherEngine() = default;
  // The index for the pixel at Column; moves Column on by Direction.
  virtual std::uint8_t MapPixel(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue, std::uint8_t& R,
                                std::uint8_t& G, std::uint8_t& B);
  // Turns round: the next row runs the other way.
  virtual void StartNextRow();

  int Column() const { return FColumn; }
  int Direction() const { return FDirection; }
  int Width() const { return FWidth; }

 protected:
  TColorLookup& FLookup;
  int FWidth;
  int FDirection = 1;
  int FColumn = 0;
};

class TFloydSteinbergEngine : public TDitherEngine {
 public:
  TFloydSteinbergEngine(int Width, TColorLookup& Lookup);
  // Adds the error carried to this pixel (7/16 from the previous pixel, and
  // 3, 5 and 1 sixteenths from the row before), then passes its own on.
  std::uint8_t MapPixel(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue, std::uint8_t& R, std::uint8_t& G,
                        std::uint8_t& B) override;
  void StartNextRow() override;

  // Element x + 1 of a channel's row holds the error carried to pixel x of
  // the next row (0 red, 1 green, 2 blue).
  const std::vector<int>& ErrorRow(int Channel) const { return FErrors[static_cast<std::size_t>(Channel)]; }

 private:
  struct ChannelState {
    int current = 0;        // for the next pixel in this row
    int below = 0;          // for the pixel below this one
    int belowPrevious = 0;  // for the pixel below the previous one
  };
  std::array<std::vector<int>, 3> FErrors;
  std::array<ChannelState, 3> FState{};
  int FCell = 0;
};

}  // namespace images
