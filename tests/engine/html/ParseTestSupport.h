#pragma once
// Parses markup into a fresh document root and writes the tree as text: the
// layout dump's walk without positions, text sections with their characters.
#include <memory>
#include <string>
#include <vector>

#include "engine/document/TSectionList.h"
#include "engine/html/DocumentParser.h"

namespace engine {
class TSection;
}

namespace engine::testing {

struct ParsedDocument {
  std::unique_ptr<TSectionList> root;
  TDocumentHead head;
  // One line per section, indented by nesting: "Body body.", "Block p.", "Text |x |".
  std::string Dump() const;
};

std::unique_ptr<TSectionList> NewTestRoot(int fontSize = 12);
ParsedDocument Parse(const std::string& html, TParseViewer* viewer = nullptr, const TParseHandlers& handlers = {});
ParsedDocument ParsePlain(const std::string& text);
// Parses html and lays it out at width, text measured with the real fonts on a screen-like canvas.
ParsedDocument ParseAndLayOut(const std::string& html, int width);

// The text sections in document order.
std::vector<const TSection*> TextSections(const TCellBasic& cell);
// A section's font runs: "pos:bi 12 #0000FF" per run (b bold, i italic, u underline; size in points; colour
// as BGR hex), separated by blanks.
std::string FontRuns(const TSection& section);

// The text sections' characters joined in document order, "|" between sections.
std::string JoinedText(const TCellBasic& cell);

// piece written count times: markup for hostile repetition.
std::string Repeat(const std::string& piece, int count);

}  // namespace engine::testing
