// A parse started from a handler of another parse parks the outer parse's
// whole state and puts it back.
#include <gtest/gtest.h>

#include "engine/html/Charsets.h"
#include "engine/html/TNestedParseGuard.h"

namespace engine {
namespace {

TEST(NestedParseGuard, InnerParseStartsFreshAndTheOuterStateComesBack) {
  ResetParseState();
  {
    TNestedParseGuard outer;
    EXPECT_FALSE(outer.Nested());
    SetDocumentText("outer document");
    parseState.DocumentPosition = 5;
    parseState.Attributes.Add(std::make_unique<TAttribute>(symHref, 0, "x", "HREF", 0));
    parseState.PropStack.Add(std::make_unique<TProperties>());
    buildState.Head.Base = "outer base";
    bool outerHookRan = false;
    ConvertDocumentFromEucJp = [&outerHookRan] { outerHookRan = true; };
    {
      TNestedParseGuard inner;
      EXPECT_TRUE(inner.Nested());
      EXPECT_EQ(TNestedParseGuard::Depth(), 2);
      EXPECT_TRUE(parseState.DocumentText.empty());
      EXPECT_EQ(parseState.Attributes.Count(), 0);
      EXPECT_EQ(parseState.PropStack.Count(), 0);
      EXPECT_TRUE(buildState.Head.Base.empty());
      SetDocumentText("inner");
      parseState.Attributes.Clear();
      buildState.Head.Base = "inner base";
      ConvertDocumentFromEucJp = [] {};
    }
    EXPECT_EQ(parseState.DocumentText, "outer document");
    EXPECT_EQ(parseState.DocumentPosition, 5u);
    EXPECT_EQ(parseState.Attributes.Count(), 1);
    EXPECT_EQ(parseState.PropStack.Count(), 1);
    EXPECT_EQ(buildState.Head.Base, "outer base");
    ConvertDocumentFromEucJp();
    EXPECT_TRUE(outerHookRan);
  }
  EXPECT_EQ(TNestedParseGuard::Depth(), 0);
  buildState = TBuildState();
  ResetParseState();
}

}  // namespace
}  // namespace engine
