#pragma once
// The characters of a STYLE element as the CSS reader takes them: straight
// from the lexer's document stream, with no comment skipping.
#include "engine/css/CssReader.h"

namespace engine {

class TLexerCssSource : public TCssSource {
 public:
  char Next() override;
  char Peek() override;
};

}  // namespace engine
