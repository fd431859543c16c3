#pragma once
// The link that encloses a run of text: URL, target frame, link id and the
// source range of the link's text.
#include <functional>
#include <string>

namespace engine {

class TAttributeList;

// Source positions of the first and last character of a link's text; -1 while unknown.
class TutText {
 public:
  int Start = -1;
  int Last = -1;
};

class TUrlTarget {
 public:
  // The link target of the font run at an index of a link list; the list is
  // walked through this so that any list of font runs can be used.
  using TLinkTargetAt = std::function<TUrlTarget&(int index)>;

  // Takes the next link id; the range starts at start; AttributeText gets
  // the tag's attributes as CR LF separated "name=value" lines.
  void Define(const std::string& url, const std::string& target, int start, const TAttributeList& attributes);
  void Assign(const TUrlTarget& source);
  void Clear();
  int Start() const { return Range.Start; }
  int Last() const { return Range.Last; }
  // Sets Range.Last here and, walking the link list from its end, in every run
  // of this link; the walk stops at the first run of another link.
  void SetRangeEnd(int linkCount, const TLinkTargetAt& linkTargetAt, int last);

  std::string Url;
  std::string Target;
  int LinkId = 0;
  std::string AttributeText;
  TutText Range;
  int TabIndex = 0;
};

// Link ids are unique for the whole process; the first one given is 10.
int NextLinkId();
// Starts the link ids at 10 again (tests only).
void ResetLinkIdCounter();

}  // namespace engine
