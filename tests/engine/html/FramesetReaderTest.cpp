// Telling frameset documents apart and walking them into a frame viewer.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/html/FramesetReader.h"
#include "engine/html/ParseState.h"
#include "engine/html/TAttributeList.h"
#include "engine/html/TFrameViewerBase.h"
#include "platform/gui/Exception.h"

namespace engine {
namespace {

// Records every building call as one line: "apply 0 cols=*,*", "frame 0 src=a", "set 0 -> 1", "finish 1".
class RecordingFrameViewer : public TFrameViewerBase {
 public:
  RecordingFrameViewer() : TFrameViewerBase(nullptr) { sets.push_back(std::make_unique<TFrameSetNode>()); }

  TFrameSetNode* Top() { return sets[0].get(); }

  void InsertFrame(TFrameSetNode* set, const TAttributeList& attributes, const std::string& path) override {
    calls.push_back("frame " + Index(set) + Describe(attributes) + (path.empty() ? "" : " in " + path));
  }
  TFrameSetNode* InsertFrameSet(TFrameSetNode* set) override {
    sets.push_back(std::make_unique<TFrameSetNode>());
    calls.push_back("set " + Index(set) + " -> " + Index(sets.back().get()));
    return sets.back().get();
  }
  void ApplyFrameSetAttributes(TFrameSetNode* set, const TAttributeList& attributes) override {
    calls.push_back("apply " + Index(set) + Describe(attributes));
  }
  void FinishFrameSet(TFrameSetNode* set) override { calls.push_back("finish " + Index(set)); }

  std::vector<std::unique_ptr<TFrameSetNode>> sets;
  std::vector<std::string> calls;

 private:
  std::string Index(TFrameSetNode* set) const {
    for (std::size_t at = 0; at < sets.size(); ++at) {
      if (sets[at].get() == set) return std::to_string(at);
    }
    return "?";
  }
  static std::string Describe(const TAttributeList& attributes) {
    std::string text;
    for (const auto& attribute : attributes) {
      std::string name = attribute->Name;
      for (char& ch : name) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      text += " " + name + "=" + attribute->ValueText;
    }
    return text;
  }
};

TDocumentHead ReadString(RecordingFrameViewer& viewer, const std::string& html, const TMetaType& onMeta = {}) {
  return ParseFramesetSource(viewer, viewer.Top(), true, onMeta, "", html);
}

using Calls = std::vector<std::string>;

TEST(FramesetReader, TellsFramesetsFromBodies) {
  EXPECT_TRUE(IsFramesetSource(true, "", "<title>T</title><script>x<p></script><frameset cols=*,*>"));
  EXPECT_TRUE(IsFramesetSource(true, "", "<html><head><meta name=a content=b></head><frameset>"));
  EXPECT_FALSE(IsFramesetSource(true, "", "<p><frameset>"));
  EXPECT_FALSE(IsFramesetSource(true, "", "<body><frameset>"));
  EXPECT_FALSE(IsFramesetSource(true, "", "plain text only"));
  EXPECT_FALSE(IsFramesetSource(true, "", ""));
  // A comment left open is unreadable markup, not a failure of the caller.
  EXPECT_FALSE(IsFramesetSource(true, "", "<title>x</title><!-- open"));
}

TEST(FramesetReader, ReadsHeadAndFlatSet) {
  RecordingFrameViewer viewer;
  std::vector<std::string> scripts;
  viewer.OnScript = [&scripts](gui::TObject*, const std::string&, const std::string&, const std::string& script) {
    scripts.push_back(script);
  };
  std::vector<std::string> metas;
  TMetaType onMeta = [&metas](gui::TObject* sender, const std::string& httpEq, const std::string&,
                              const std::string& content) {
    metas.push_back(httpEq + "=" + content + (sender ? " from viewer" : ""));
  };
  const TDocumentHead head = ReadString(viewer,
                                        "<title>T</title><base href=http://h/ target=main><script>s1</script>"
                                        "<meta http-equiv=refresh content=5>"
                                        "<frameset cols=\"*,*\"><script>s2</script><frame src=a><frame src=b>"
                                        "</frameset>",
                                        onMeta);
  EXPECT_EQ(viewer.calls, (Calls{"apply 0 cols=*,*", "frame 0 src=a", "frame 0 src=b", "finish 0"}));
  EXPECT_EQ(head.Title, u"T");
  EXPECT_EQ(head.Base, "http://h/");
  EXPECT_EQ(head.BaseTarget, "main");
  EXPECT_EQ(scripts, (std::vector<std::string>{"s1", "s2"}));
  EXPECT_EQ(metas, std::vector<std::string>{"refresh=5 from viewer"});
}

TEST(FramesetReader, NestedSetsNoFramesAndUnfinishedSets) {
  RecordingFrameViewer nested;
  ReadString(nested, "<frameset rows=\"50%,*\"><frameset cols=*,*><frame><frame></frameset><frame></frameset>");
  EXPECT_EQ(nested.calls, (Calls{"apply 0 rows=50%,*", "set 0 -> 1", "apply 1 cols=*,*", "frame 1", "frame 1",
                                 "finish 1", "frame 0", "finish 0"}));

  RecordingFrameViewer noFrames;
  ReadString(noFrames, "<noframes><frame src=w></noframes><frameset><noframes><frame src=x></noframes>"
                       "<frame src=y></frameset>");
  EXPECT_EQ(noFrames.calls, (Calls{"apply 0", "frame 0 src=y", "finish 0"}));

  // Without end tags every set entered is still finished, innermost first.
  RecordingFrameViewer open;
  ReadString(open, "<frameset><frameset><frame src=a>");
  EXPECT_EQ(open.calls, (Calls{"apply 0", "set 0 -> 1", "apply 1", "frame 1 src=a", "finish 1", "finish 0"}));

  // A comment left open fails the lexer; the sets entered are finished all the same.
  RecordingFrameViewer failed;
  ReadString(failed, "<frameset><frameset><frame src=a> <!-- open");
  EXPECT_EQ(failed.calls, (Calls{"apply 0", "set 0 -> 1", "apply 1", "frame 1 src=a", "finish 1", "finish 0"}));
}

TEST(FramesetReader, OnlyTheFirstTopLevelSetIsWalked) {
  RecordingFrameViewer viewer;
  ReadString(viewer, "<frameset><frame src=a></frameset><frameset rows=1,2><frame src=b></frameset>");
  EXPECT_EQ(viewer.calls, (Calls{"apply 0", "frame 0 src=a", "finish 0"}));
}

TEST(FramesetReader, HostileNestingAndWidthAreBounded) {
  std::string deep;
  for (int level = 0; level < 5000; ++level) deep += "<frameset>";
  deep += "<frame src=inner>";
  for (int level = 0; level < 5000; ++level) deep += "</frameset><frame src=after" + std::to_string(level) + ">";
  RecordingFrameViewer viewer;
  ReadString(viewer, deep);
  EXPECT_EQ(viewer.sets.size(), static_cast<std::size_t>(kMaxFrameSetNesting));
  const std::string innermost = std::to_string(kMaxFrameSetNesting - 1);
  // The frame inside the refused sets goes to the innermost set made, and the
  // refused sets' end tags do not close the sets that were made.
  EXPECT_EQ(viewer.calls[2 * kMaxFrameSetNesting - 1], "frame " + innermost + " src=inner");
  int finishes = 0;
  for (const std::string& call : viewer.calls) finishes += call.rfind("finish", 0) == 0;
  EXPECT_EQ(finishes, kMaxFrameSetNesting);

  std::string wide = "<frameset>";
  for (int frame = 0; frame < 30; ++frame) wide += "<frame src=f" + std::to_string(frame) + ">";
  wide += "<frameset><frame></frameset></frameset>";
  RecordingFrameViewer many;
  ReadString(many, wide);
  ASSERT_EQ(many.calls.size(), static_cast<std::size_t>(kMaxFrameSetChildren + 2));
  EXPECT_EQ(many.calls[kMaxFrameSetChildren], "frame 0 src=f19");
  EXPECT_EQ(many.calls.back(), "finish 0");
  EXPECT_EQ(many.sets.size(), 1u);
}

TEST(FramesetReader, FilesAreReadAndPathsPassedOn) {
  const std::string fileName = ::testing::TempDir() + "frameset_reader_test.htm";
  {
    std::ofstream out(fileName, std::ios::binary);
    out << "<frameset rows=*>\r\n<frame src=a.htm>\r\n</frameset>";
  }
  EXPECT_TRUE(IsFramesetSource(false, fileName, ""));
  RecordingFrameViewer viewer;
  ParseFramesetSource(viewer, viewer.Top(), false, {}, fileName, "");
  EXPECT_EQ(viewer.calls, (Calls{"apply 0 rows=*", "frame 0 src=a.htm in " + fileName, "finish 0"}));
  std::remove(fileName.c_str());
  EXPECT_THROW(IsFramesetSource(false, fileName, ""), gui::EFOpenError);
  EXPECT_THROW(ParseFramesetSource(viewer, viewer.Top(), false, {}, fileName, ""), gui::EFOpenError);
}

// A file is judged from its head; heads longer than the first read, and
// markup that runs across where a read ends, give the whole file's verdict.
TEST(FramesetReader, FilesAreJudgedFromTheirHead) {
  const std::string fileName = ::testing::TempDir() + "frameset_head_test.htm";
  const auto judge = [&](const std::string& text) {
    {
      std::ofstream out(fileName, std::ios::binary);
      out << text;
    }
    const bool fromFile = IsFramesetSource(false, fileName, "");
    EXPECT_EQ(fromFile, IsFramesetSource(true, "", text)) << text.substr(0, 40);
    return fromFile;
  };
  const std::string script = "<script>" + std::string(200000, 'x') + "</script>";
  const std::string comment = "<!--" + std::string(150000, '-') + "\n<p> -->";
  std::string lines;
  for (int i = 0; i < 9000; ++i) lines += "<meta name=a content=b>\r";
  EXPECT_TRUE(judge("<title>T</title>" + script + "<frameset rows=*>"));
  EXPECT_FALSE(judge("<title>T</title>" + script + "<p><frameset rows=*>"));
  EXPECT_TRUE(judge("<html>\n" + comment + "\n<frameset rows=*>"));
  EXPECT_TRUE(judge(lines + "\n<frameset rows=*>"));
  EXPECT_FALSE(judge(lines + "\n" + std::string(70000, ' ') + "text"));
  EXPECT_TRUE(judge("<frameset rows=*>\n" + std::string(300000, 'y')));
  EXPECT_FALSE(judge("<body>\n" + script));
  std::remove(fileName.c_str());
}

TEST(FramesetReader, LeavesNoParseStateBehind) {
  RecordingFrameViewer viewer;
  viewer.OnInclude = [](gui::TObject*, const std::string&, std::unique_ptr<gui::TStringList>, std::string&) {};
  ReadString(viewer, "<frameset><frame src=a></frameset>" + std::string(4096, ' '));
  EXPECT_FALSE(parseState.OnInclude);
  EXPECT_EQ(parseState.PropStack.Count(), 0);
  EXPECT_TRUE(parseState.DocumentText.empty());
  EXPECT_LT(parseState.DocumentText.capacity(), 4096u);  // the document's memory was given back
}

}  // namespace
}  // namespace engine
