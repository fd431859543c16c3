#include "engine/html/TReadAhead.h"

#include <string>
#include <utility>

namespace engine {

TReadAhead::TReadAhead() {
  TParseState& state = parseState;
  std::string text = std::move(state.DocumentText);
  reading_ = static_cast<const TReadingState&>(state);
  state.DocumentText = std::move(text);
  attributes_.Swap(state.Attributes);
  onInclude_ = std::exchange(state.OnInclude, nullptr);
  state.CountingPass = true;
}

TReadAhead::~TReadAhead() {
  TParseState& state = parseState;
  reading_.DocumentText = std::move(state.DocumentText);
  static_cast<TReadingState&>(state) = std::move(reading_);
  state.Attributes.Swap(attributes_);
  state.OnInclude = std::move(onInclude_);
  state.Token->Clear();
  state.TextBytes.Clear();
}

}  // namespace engine
