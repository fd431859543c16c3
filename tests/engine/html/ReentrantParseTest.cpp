// A host handler that parses another document while a parse runs.
#include <gtest/gtest.h>

#include "tests/engine/html/ParseTestSupport.h"

namespace engine {
namespace {

TEST(ReentrantParse, HandlerParsingAnotherDocumentLeavesBothIntact) {
  auto inner = testing::NewTestRoot();
  TDocumentHead innerHead;
  TParseHandlers handlers;
  handlers.OnMeta = [&](gui::TObject*, const std::string&, const std::string&, const std::string&) {
    innerHead = ParseHtmlSource("<title>inner</title><ul><li>in</ul>", *inner, nullptr);
  };
  auto outer = testing::Parse("<title>outer</title><div><b>be<meta name=x content=y>fore</b> after</div>",
                              nullptr, handlers);
  EXPECT_EQ(outer.head.Title, u"outer");
  EXPECT_EQ(innerHead.Title, u"inner");
  EXPECT_EQ(outer.Dump(),
            "Body default.\n"
            "  Block div.\n"
            "    Text |before after |\n");
  EXPECT_EQ(testing::JoinedText(*inner), "in ");
}

TEST(ReentrantParse, ParseGivesTheDocumentsMemoryBack) {
  // A parse copies the source; the copy must not outlive it (a large mail would stay held until the next one).
  auto root = testing::NewTestRoot();
  ParseHtmlSource("<p>" + std::string(100000, 'x'), *root, nullptr);
  EXPECT_TRUE(parseState.DocumentText.empty());
  EXPECT_LT(parseState.DocumentText.capacity(), 100000u);
}

}  // namespace
}  // namespace engine
