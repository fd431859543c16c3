#pragma once
// Reads ahead in the input and comes back: while it is held the lexer stores
// no text, registers no ID, reports no progress and expands no server-side
// include; its destructor puts the reading position, the current character
// and symbol, and the attributes of the last tag back as they were.
#include "engine/html/ParseState.h"

namespace engine {

class TReadAhead {
 public:
  TReadAhead();
  ~TReadAhead();
  TReadAhead(const TReadAhead&) = delete;
  TReadAhead& operator=(const TReadAhead&) = delete;

 private:
  TReadingState reading_;  // without the document text, which stays in place
  TAttributeList attributes_;
  TIncludeType onInclude_;
};

}  // namespace engine
