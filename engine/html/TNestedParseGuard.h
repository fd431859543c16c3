#pragma once
// Held by every parse entry. A host handler may start another parse while one
// is running (a META hook that loads a second document, for instance); the
// guard of that inner entry parks the whole outer parse and builder state, and
// the EUC-JP conversion hook, and puts them back when the inner parse ends.
#include <functional>
#include <memory>

#include "engine/html/BuildState.h"
#include "engine/html/ParseState.h"

namespace engine {

class TNestedParseGuard {
 public:
  TNestedParseGuard();
  ~TNestedParseGuard();
  TNestedParseGuard(const TNestedParseGuard&) = delete;
  TNestedParseGuard& operator=(const TNestedParseGuard&) = delete;

  bool Nested() const { return outerParse_ != nullptr; }
  // Parses running now, this one included.
  static int Depth();

 private:
  std::unique_ptr<TParseState> outerParse_;
  std::unique_ptr<TBuildState> outerBuild_;
  std::function<void()> outerEucJpHook_;
};

}  // namespace engine
