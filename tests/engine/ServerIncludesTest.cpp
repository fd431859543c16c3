// Server-side includes as the lexer expands them.
#include <gtest/gtest.h>

#include "engine/html/HtmlLexer.h"
#include "platform/gui/TStringList.h"
#include "LexerTestSupport.h"

namespace engine {
namespace {

using testing::JoinedText;
using testing::LexedItem;

struct IncludeCall {
  std::string command;
  std::vector<std::string> params;
};

std::vector<LexedItem> LexWithIncludes(const std::string& document,
                                       std::function<std::string(const IncludeCall&)> answer,
                                       std::vector<IncludeCall>* calls = nullptr) {
  testing::StartLexing("");
  parseState.OnInclude = [&](gui::TObject*, const std::string& command, std::unique_ptr<gui::TStringList> params,
                             std::string& included) {
    IncludeCall call{command, {}};
    for (int i = 0; i < params->Count(); ++i) call.params.push_back(params->Strings(i));
    included = answer(call);
    if (calls) calls->push_back(std::move(call));
  };
  SetDocumentText(document);
  NextCharSkippingMarkup();
  std::vector<LexedItem> items;
  for (int guard = 0; guard < 100000; ++guard) {
    NextSymbol();
    if (parseState.Symbol == symEndOfInput) break;
    items.push_back({parseState.Symbol, parseState.Token->CurrentText(), testing::TokenPositions(), 0});
  }
  return items;
}

TEST(ServerIncludes, CommandAndParametersReachTheHandler) {
  std::vector<IncludeCall> calls;
  LexWithIncludes("a<!--#Include_1 file=\"x y.htm\" Virtual='/v&amp;w' bare=value flag -->b",
                  [](const IncludeCall&) { return std::string(); }, &calls);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].command, "Include_1");
  EXPECT_EQ(calls[0].params,
            std::vector<std::string>({"file=x y.htm", "Virtual=/v&w", "bare=value", "flag="}));
}

TEST(ServerIncludes, EmptyAnswerLeavesNoTrace) {
  auto items = LexWithIncludes("a<!--#x -->b", [](const IncludeCall&) { return std::string(); });
  EXPECT_EQ(JoinedText(items), u"ab");
}

TEST(ServerIncludes, MarkupIsSplicedAndPositionsStayInTheDocument) {
  auto items = LexWithIncludes("ab<!--#x-->cd", [](const IncludeCall&) { return std::string("<b>IN</b>"); });
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[0].text, u"ab");
  EXPECT_EQ(items[1].symbol, symB);
  EXPECT_EQ(items[2].text, u"IN");
  // Included bytes do not count: they sit at the comment's last byte.
  EXPECT_EQ(items[2].positions, std::vector<int>({10, 10}));
  EXPECT_EQ(items[3].symbol, symBEnd);
  EXPECT_EQ(items[4].text, u"cd");
  EXPECT_EQ(items[4].positions, std::vector<int>({11, 12}));
}

TEST(ServerIncludes, NestedIncludesExpandInOrder) {
  auto items = LexWithIncludes("[<!--#outer-->]", [](const IncludeCall& call) {
    if (call.command == "outer") return std::string("(<!--#inner-->|<!--#inner2-->)");
    return std::string(call.command);
  });
  EXPECT_EQ(JoinedText(items), u"[(inner|inner2)]");
}

TEST(ServerIncludes, SelfIncludingHandlerIsStopped) {
  int calls = 0;
  auto items = LexWithIncludes("a<!--#self-->b", [&](const IncludeCall&) {
    ++calls;
    return std::string("x<!--#self-->");
  });
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(JoinedText(items), u"axb");
}

TEST(ServerIncludes, DepthIsCapped) {
  int calls = 0;
  auto items = LexWithIncludes("<!--#n-->end", [&](const IncludeCall&) {
    ++calls;
    return "<!--#n" + std::to_string(calls) + "-->";
  });
  EXPECT_EQ(calls, 16);
  EXPECT_EQ(JoinedText(items), u"end");
}

TEST(ServerIncludes, SiblingsDoNotCountAsDepth) {
  int calls = 0;
  std::string many;
  for (int i = 0; i < 40; ++i) many += "<!--#leaf" + std::to_string(i) + "-->";
  auto items = LexWithIncludes("<!--#list-->", [&](const IncludeCall& call) {
    ++calls;
    return call.command == "list" ? many : std::string("x");
  });
  EXPECT_EQ(calls, 41);
  EXPECT_EQ(JoinedText(items), std::u16string(40, u'x'));
}

TEST(ServerIncludes, WithoutHandlerIncludesAreComments) {
  EXPECT_EQ(JoinedText(testing::LexAll("a<!--#x y=1 -->b")), u"ab");
}

// An include met inside a reference reads references of its own in its
// parameters; the outer reference keeps what it had read.
TEST(ServerIncludes, ReferencesInsideAnIncludeInsideAReference) {
  std::vector<IncludeCall> calls;
  auto items = LexWithIncludes("a&zz<!--#inc p='&lt;&#65;'-->q;b", [](const IncludeCall&) { return std::string(); },
                               &calls);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].params, std::vector<std::string>({"p=<A"}));
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].text, u"a&zzq;b");
  EXPECT_EQ(items[0].positions, std::vector<int>({0, 1, 2, 3, 29, 30, 31}));
}

}  // namespace
}  // namespace engine
