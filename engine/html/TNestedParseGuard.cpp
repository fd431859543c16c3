#include "engine/html/TNestedParseGuard.h"

#include <utility>

#include "engine/html/Charsets.h"

namespace engine {
namespace {

int parseDepth = 0;

}  // namespace

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
