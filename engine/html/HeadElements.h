#pragma once
// The elements that act on the whole document rather than on its flow:
// TITLE, BASE, BGSOUND, META, STYLE and LINK. Each is entered with its tag as
// the lexer's current symbol and leaves the next symbol current.
#include <string>

#include "engine/html/HtmlSymbols.h"

namespace engine {

class TStyleList;

// Value text of an attribute of the current tag; empty when absent.
std::string AttributeText(THtmlSymbol symbol);
bool HasAttribute(THtmlSymbol symbol);

void ReadTitle();
void ReadBase();
void ReadBgSound();
void ParseMetaElement();
// The style sheet is read straight from the document into styles.
void ReadStyleElement(TStyleList& styles);
// A linked style sheet is fetched through the viewer into styles.
void LoadLinkedStyleSheet(TStyleList& styles);

// The linked sheet's bytes as the CSS reader takes them: line ends as CR LF.
std::string NormaliseLineBreaks(const std::string& text);

}  // namespace engine
