#include "engine/html/TUrlTarget.h"

#include "engine/html/TAttributeList.h"

namespace engine {
namespace {

constexpr int kFirstLinkId = 10;
int linkIdCounter = kFirstLinkId;

}  // namespace

int NextLinkId() { return linkIdCounter++; }

void ResetLinkIdCounter() { linkIdCounter = kFirstLinkId; }

void TUrlTarget::Define(const std::string& url, const std::string& target, int start,
                        const TAttributeList& attributes) {
  Url = url;
  Target = target;
  LinkId = NextLinkId();
  Range.Start = start;
  attributes.WriteNameValueText(AttributeText);
}

void TUrlTarget::Assign(const TUrlTarget& source) {
  Url = source.Url;
  Target = source.Target;
  LinkId = source.LinkId;
  TabIndex = source.TabIndex;
  AttributeText = source.AttributeText;
  Range = source.Range;
}

void TUrlTarget::Clear() {
  Url.clear();
  Target.clear();
  AttributeText.clear();
  LinkId = 0;
  TabIndex = 0;
  Range = TutText();
}

void TUrlTarget::SetRangeEnd(int linkCount, const TLinkTargetAt& linkTargetAt, int last) {
  Range.Last = last;
  for (int index = linkCount - 1; index >= 0; --index) {
    TUrlTarget& runTarget = linkTargetAt(index);
    if (runTarget.LinkId != LinkId) break;
    runTarget.Range.Last = last;
  }
}

}  // namespace engine
