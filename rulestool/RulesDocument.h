#pragma once

#include <ostream>
#include <string>
#include <string_view>

class TiXmlDocument;

namespace kestrane {

// Deeper documents are refused before parsing: the XML reader descends one
// call per open element, and a rules document needs three levels.
inline constexpr int kMaxElementDepth = 256;

// An upper estimate of the element nesting of an XML text.
int EstimateElementDepth(std::string_view text);

// Parses a rules document from memory the way LoadRulesDocument reads a file:
// character references stand for single bytes, so that a dump loads back
// byte for byte. False with the reader's error description.
bool ParseRulesDocument(const std::string& text, TiXmlDocument& document, std::string& error);

// Reads and parses a rules document file. False with the reader's error
// description (empty for an empty file).
bool LoadRulesDocument(const std::string& filename, TiXmlDocument& document, std::string& error);

}  // namespace kestrane
