#pragma once
// The parser's entry points for documents: an HTML text or a plain text is
// turned into the document model under a root that the caller owns.
#include <string>

#include "engine/html/BuildState.h"
#include "engine/html/ParseState.h"

namespace engine {

class TSectionList;
class TParseViewer;

// Handlers an HTML parse calls in its host; any may be empty.
struct TParseHandlers {
  TLinkType OnLink;
  TMetaType OnMeta;
  TSoundType OnSoundRequest;
  TIncludeType OnInclude;
  TScriptEvent OnScript;
};

// More links than this turn the document's per-link keyboard stops off.
constexpr int kManyLinks = 400;

// Parses source into root. viewer may be null: margins 10 and 5, no linked
// sheets fetched. Bad markup never fails; an exception inside the parse ends
// it quietly with what was built. Returns the head's title and base.
TDocumentHead ParseHtmlSource(const std::string& source, TSectionList& root, TParseViewer* viewer,
                              const TParseHandlers& handlers = {});

// A document of one preformatted block holding the text, one section per line.
void ParsePlainText(const std::string& source, TSectionList& root, TParseViewer* viewer);

// Counts the A elements with HREF from the current position, stopping once
// more than limit were seen.
int CountLinks(int limit);

}  // namespace engine
