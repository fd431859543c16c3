#include "images/TDitherEngine.h"

#include <algorithm>

namespace images {

std::uint8_t TDitherEngine::MapPixel(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue, std::uint8_t& R,
                                     std::uint8_t& G, std::uint8_t& B) {
  const std::uint8_t index = FLookup.MatchColor(Red, Green, Blue, R, G, B);
  FColumn += FDirection;
  return index;
}

void TDitherEngine::StartNextRow() {
  FDirection = -FDirection;
  FColumn = FDirection > 0 ? 0 : FWidth - 1;
}

TFloydSteinbergEngine::TFloydSteinbergEngine(int Width, TColorLookup& Lookup) : TDitherEngine(Width, Lookup) {
  for (auto& row : FErrors) row.assign(static_cast<std::size_t>(std::max(Width, 0)) + 2, 0);
}

std::uint8_t TFloydSteinbergEngine::MapPixel(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue,
                                             std::uint8_t& R, std::uint8_t& G, std::uint8_t& B) {
  const std::uint8_t source[3] = {Red, Green, Blue};
  std::uint8_t wanted[3];
  const int ahead = FCell + FDirection;
  for (int c = 0; c < 3; ++c) {
    const int carried = ahead >= 0 && ahead < static_cast<int>(FErrors[c].size()) ? FErrors[c][ahead] : 0;
    // Integer division truncates toward zero, as the weights were tuned for.
    const int value = source[c] + (carried + FState[c].current + 8) / 16;
    FState[c].current = std::clamp(value, 0, 255);
    wanted[c] = static_cast<std::uint8_t>(FState[c].current);
  }
  const std::uint8_t index = TDitherEngine::MapPixel(wanted[0], wanted[1], wanted[2], R, G, B);
  const std::uint8_t chosen[3] = {R, G, B};
  for (int c = 0; c < 3; ++c) {
    const int d = wanted[c] - chosen[c];
    ChannelState& state = FState[c];
    if (FCell >= 0 && FCell < static_cast<int>(FErrors[c].size())) FErrors[c][FCell] = state.belowPrevious + 3 * d;
    state.belowPrevious = state.below + 5 * d;
    state.below = d;
    state.current = 7 * d;
  }
  FCell += FDirection;
  return index;
}

void TFloydSteinbergEngine::StartNextRow() {
  for (int c = 0; c < 3; ++c) {
    if (FCell >= 0 && FCell < static_cast<int>(FErrors[c].size())) FErrors[c][FCell] = FState[c].belowPrevious;
    FState[c] = ChannelState{};
  }
  TDitherEngine::StartNextRow();
  FCell = FDirection > 0 ? 0 : FWidth + 1;
}

}  // namespace images
