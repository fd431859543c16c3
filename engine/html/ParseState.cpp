#include "engine/html/ParseState.h"

#include <climits>
#include <utility>

namespace engine {

TParseState parseState;

int CurrentCodePage() {
  const TProperties* top = parseState.PropStack.Last();
  return top ? top->CodePage : 0;
}

void SetDocumentText(std::string text) {
  TParseState& state = parseState;
  // Source positions are 32-bit; longer documents are read up to that size.
  if (text.size() >= static_cast<std::size_t>(INT_MAX)) text.resize(static_cast<std::size_t>(INT_MAX) - 1);
  state.DocumentText = std::move(text);
  state.DocumentPosition = 0;
  state.SourcePosition = -1;
  state.InputMode = TInputMode::Document;
  state.IncludeText.clear();
  state.IncludePosition = 0;
  state.IncludeReturnMode = TInputMode::Document;
  state.OpenIncludes.clear();
  state.LastLineEnd = TLineEnd::None;
  state.InComment = false;
  state.RawMode = false;
  state.CountingPass = false;
  state.Ch = 0;
  state.UpperCh = 0;
  state.Symbol = symEndOfInput;
  state.HeadingLevel = 0;
  state.TagStartPosition = 0;
}

void ResetParseState() {
  TParseState& state = parseState;
  SetDocumentText(std::string());
  state.Token = std::make_unique<TokenObj>();
  state.TextBytes.Clear();
  state.RawTokenText.clear();
  state.Attributes.Clear();
  state.PropStack.Clear();
  state.OnInclude = nullptr;
  state.Sender = nullptr;
  state.ProgressShare = 0;
  state.ReportProgress = nullptr;
  state.RegisterIdAnchor = nullptr;
}

}  // namespace engine
