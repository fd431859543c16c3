#pragma once
// Character references ("&amp;", "&#233;", "&#xE9;") read from the lexer's
// character stream. A reference that is not recognised stays as written.
#include <string>

#include "engine/html/TokenBuffers.h"

namespace engine {

// How the readers move on: inside comments plainly, elsewhere skipping markup.
enum class TReferenceAdvance { Plain, SkippingMarkup };

// At "&" in a text run: appends the character(s) to the token buffer at the
// position of the "&" and consumes the reference.
void ReadCharacterReference(TokenObj& token, int codePage);

// At "&" in an attribute value or raw content: appends the reference as text
// in the code page (0: the system's) and consumes it.
void ReadCharacterReferenceText(int codePage, std::string& text,
                                TReferenceAdvance advance = TReferenceAdvance::SkippingMarkup);

}  // namespace engine
