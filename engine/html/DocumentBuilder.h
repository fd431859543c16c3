#pragma once
// The document builder: a recursive-descent reader over the lexer's symbols
// that builds blocks, lists, headings, paragraphs and inline text sections
// under the document root while it reads. Each reader leaves the current cell
// as it found it; on return the current section is closed or freshly opened.
#include <string>

#include "engine/html/HtmlSymbols.h"
#include "engine/html/TSymbolSet.h"

namespace engine {

class TAttributeList;
class TProperties;
class TSection;

// The block reader: reads until the current symbol is in stop or the input ends.
void ParseBody(const TSymbolSet& stop);
// Handles the inline element or text run at the current symbol and advances.
void ParseInlineElement(const TSymbolSet& stop);
void ParseParagraph(const TSymbolSet& stop);
void ParseBlockElement(THtmlSymbol symbol, const TSymbolSet& stop);
void ParseList(THtmlSymbol symbol, const TSymbolSet& stop);
void ParseHeading(const TSymbolSet& stop);

// BODY: replaces the set-up body block (see the parse entries).
void ReadBodyElement();

// Shared with the special readers.
TProperties& TopProperties();
// Adds the open section to the current cell and forgets it.
void CloseSection();
// A new section with the top properties and the current link; withAttributes
// hands it the lexer's attributes (BR's CLEAR and ID).
void OpenSection(bool withAttributes = false);
TSection& EnsureSection();
// The open section takes the top properties' font.
void SwitchSectionFont();
// Pushes tag with the CLASS, ID, STYLE and TITLE of attributes (the lexer's by default).
bool PushTag(const std::string& tag, const std::string& pseudo = {});
bool PushTag(const std::string& tag, TAttributeList& attributes, const std::string& pseudo = {});
void PopTag(const std::string& tag);
// The top element's own background colour goes to the fonts of its text runs,
// which draw on it, unless its inline box paints it (boxed: the element gets a
// box when it has a border style).
void TakeInlineBackground(bool boxed);
// ALIGN of attributes as the top properties' text-align.
void ApplyAlign(const TAttributeList& attributes);
// FONT and BASEFONT; preformatted picks the preformatted size table.
// Without advance the next symbol is not read (the preformatted reader reads on by characters).
void ReadFontElement(bool preformatted, bool advance);
// A and A end.
void ReadAnchor(bool advance);
void CloseLink();
// A page break in the current cell (the section must be closed).
void InsertPageBreak();
// The BR's own properties ask for a page break.
bool BreakPageAtBr();
// IMG, PANEL, INPUT, TEXTAREA, A, A end, FONT, BASEFONT, FONT end and SCRIPT
// as the inline handler does them, without reading the next symbol.
void ReadInlineElementInPlace(THtmlSymbol symbol);

}  // namespace engine
