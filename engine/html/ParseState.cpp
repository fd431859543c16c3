#include "engine/html/ParseState.h"

#include <climits>
#include <utility>

namespace engine {

TParseState parseState;

void SetDocumentText(std::string text) {
  TParseState& state = parseState;
  // Source positions are 32-bit; longer documents are read up to that size.
  if (text.size() >= static_cast<std::size_t>(INT_MAX)) text.resize(static_cast<std::size_t>(INT_MAX) - 1);
  static_cast<TReadingState&>(state) = TReadingState{};
  state.DocumentText = std::move(text);
}

void ReleaseDocumentText() { std::string().swap(parseState.DocumentText); }

void ResetParseState() {
  TParseState fresh;
  SwapParseStates(parseState, fresh);
}

void SwapParseStates(TParseState& a, TParseState& b) {
  // NOTE: every field of TParseState outside the reading state belongs here; a
  // field left out would leak from an inner parse into the outer one and
  // survive a reset.
  using std::swap;
  swap(static_cast<TReadingState&>(a), static_cast<TReadingState&>(b));
  swap(a.Token, b.Token);
  swap(a.TextBytes, b.TextBytes);
  swap(a.RawTokenText, b.RawTokenText);
  a.Attributes.Swap(b.Attributes);
  swap(a.PropStack, b.PropStack);
  swap(a.OnInclude, b.OnInclude);
  swap(a.Sender, b.Sender);
  swap(a.ProgressShare, b.ProgressShare);
  swap(a.ReportProgress, b.ReportProgress);
  swap(a.RegisterIdAnchor, b.RegisterIdAnchor);
}

}  // namespace engine
