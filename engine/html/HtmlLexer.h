#pragma once
// The HTML lexer: turns the document in the parse state into tags with
// attributes and text runs with source positions. It folds line ends and
// tabs, drops comments and "<%" constructs, splices in server-side includes,
// reports progress and registers ID attributes.
#include "engine/html/ParseState.h"

namespace engine {

// Next byte of the current input (0 at the end of the document), not consumed.
unsigned char PeekSourceByte();

// Reads and folds the next character: CR LF, LF CR, CR and LF become one CR;
// a tab becomes a blank. Raises EParseError at the end inside a comment.
void NextChar();
// NextChar, then skips comments, "<!" and "<%" constructs and expands includes.
void NextCharSkippingMarkup();
// Advances over blanks and CRs.
void SkipBlanks();

// Appends the current character, which must be a blank or above, and neither
// "<" nor "&", with the document bytes after it up to the next control
// character, "<" or "&", each at its position; then reads on as
// NextCharSkippingMarkup. Text kept as written is read with it a run at a time.
void ReadLiteralBytes(TCharCollection& bytes);
// ReadLiteralBytes for a code page that DecodesAsWindows1252: the characters
// go straight into text, at the positions of their bytes.
void ReadLiteralCharacters(TokenObj& text);

// Reads the next tag or text run into the parse state's symbol, token buffer
// and attribute list.
void NextSymbol();
// The reader of raw TEXTAREA content: line breaks, tags, references and text
// pieces, the text in the parse state's RawTokenText.
void ReadRawToken();

// The numeric reading of an attribute value: the leading number rounded to
// the nearest integer, saturated to the integer range; 0 when none.
int LeadingNumber(const std::string& text);

}  // namespace engine
