#include "engine/html/TLexerCssSource.h"

#include "engine/html/HtmlLexer.h"
#include "engine/html/ParseState.h"

namespace engine {

char TLexerCssSource::Next() {
  NextChar();
  return static_cast<char>(parseState.Ch);
}

char TLexerCssSource::Peek() { return static_cast<char>(PeekSourceByte()); }

}  // namespace engine
