#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

class TiXmlDocument;

namespace kestrane {

// Deeper documents are refused before parsing: the XML reader descends one
// call per open element, and a rules document needs three levels.
inline constexpr int kMaxElementDepth = 256;

// The largest rules document LOAD reads (a dump of thousands of rules is a
// few megabytes).
inline constexpr std::uint64_t kMaxDocumentBytes = 64ull << 20;

// An upper estimate of the element nesting of an XML text.
int EstimateElementDepth(std::string_view text);

// Parses a rules document from memory, as LoadRulesDocument parses a file's
// text: line ends are normalised as the XML reader does for files, and
// character references stand for single bytes, so that a dump loads back
// byte for byte. False with the reader's error description.
bool ParseRulesDocument(const std::string& text, TiXmlDocument& document, std::string& error);

// Reads a rules document file once, whole, and parses that text. Only a
// regular file of at most kMaxDocumentBytes is read (a folder, FIFO or device
// is refused without waiting). False with the reader's error description, or
// what kept the file from being read (empty for an empty file).
bool LoadRulesDocument(const std::string& filename, TiXmlDocument& document, std::string& error);

}  // namespace kestrane
