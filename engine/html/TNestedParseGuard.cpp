#include "engine/html/TNestedParseGuard.h"

#include <utility>

#include "engine/html/Charsets.h"

namespace engine {
namespace {

int parseDepth = 0;

}  // namespace

void SwapParseStates(TParseState& a, TParseState& b) {
  // NOTE: every field of TParseState belongs here; a field left out would
  // leak from an inner parse into the outer one.
  using std::swap;
  swap(a.Ch, b.Ch);
  swap(a.UpperCh, b.UpperCh);
  swap(a.Symbol, b.Symbol);
  swap(a.HeadingLevel, b.HeadingLevel);
  swap(a.TagStartPosition, b.TagStartPosition);
  swap(a.SourcePosition, b.SourcePosition);
  swap(a.InComment, b.InComment);
  swap(a.LastLineEnd, b.LastLineEnd);
  swap(a.RawMode, b.RawMode);
  swap(a.CountingPass, b.CountingPass);
  swap(a.InputMode, b.InputMode);
  swap(a.DocumentText, b.DocumentText);
  swap(a.DocumentPosition, b.DocumentPosition);
  swap(a.IncludeText, b.IncludeText);
  swap(a.IncludePosition, b.IncludePosition);
  swap(a.IncludeReturnMode, b.IncludeReturnMode);
  swap(a.OpenIncludes, b.OpenIncludes);
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

TNestedParseGuard::TNestedParseGuard() {
  if (parseDepth > 0) {
    outerParse_ = std::make_unique<TParseState>();
    SwapParseStates(parseState, *outerParse_);
    outerBuild_ = std::make_unique<TBuildState>();
    std::swap(buildState, *outerBuild_);
    outerEucJpHook_ = ConvertDocumentFromEucJp;
  }
  ++parseDepth;
}

TNestedParseGuard::~TNestedParseGuard() {
  --parseDepth;
  if (outerParse_) {
    SwapParseStates(parseState, *outerParse_);
    std::swap(buildState, *outerBuild_);
    ConvertDocumentFromEucJp = std::move(outerEucJpHook_);
  } else {
    // Outside a parse the character-set look-up must not touch any text.
    ConvertDocumentFromEucJp = [] {};
  }
}

int TNestedParseGuard::Depth() { return parseDepth; }

}  // namespace engine
