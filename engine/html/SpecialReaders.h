#pragma once
// Readers for content that is not ordinary flow: preformatted text, image
// maps, scripts, SELECT options, TEXTAREA content and OBJECT elements.
#include "engine/html/ParseEvents.h"

namespace engine {

class TParsedControl;

// Entered at a PRE start tag without WRAP; leaves after the PRE end, or at a
// TABLE, TD end or TH end that ends it.
void ParsePreformatted();
// Entered at MAP. A map that reaches its MAP end is kept, its text ignored and
// the end consumed. A map that never does is dropped after its leading AREAs,
// and what follows them is read as ordinary content. Leaves with the next
// symbol current and answers true; with keepPlace, a dropped map leaves the
// reading just after its AREAs with no symbol read, and answers false.
bool ParseImageMap(bool keepPlace = false);
// Entered with the SCRIPT tag's ">" as the current character; leaves with
// the SCRIPT end (or the end of input) as the current symbol.
void ParseScript(const TScriptEvent& onScript);
// Entered at SELECT after its control was made (control may be null: the
// options are read and dropped). Leaves at the symbol that ended the options.
void ReadSelectOptions(TParsedControl* control);
// Entered after the TEXTAREA tag; leaves after its end tag's ">".
void ReadTextAreaContent(TParsedControl* control);
// Entered at OBJECT; leaves at the first symbol it did not take.
void ParseObject();

}  // namespace engine
