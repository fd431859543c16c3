#pragma once

#include <string>

class CKillFile;
class TiXmlDocument;

namespace kestrane {

// The loaded rules of a store as text: one "Field=value" line per field and
// per header condition field, nothing between rules.
std::string TextDump(CKillFile& store);

// The loaded rules as the rules XML document, and that document printed.
void BuildRulesDocument(CKillFile& store, TiXmlDocument& document);
std::string XmlDump(CKillFile& store);

}  // namespace kestrane
