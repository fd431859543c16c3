#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include "engine/text/SectionDump.h"
#include "engine/text/TSection.h"
#include "tests/engine/html/ParseTestSupport.h"
#include "tests/engine/support/LayoutDump.h"
namespace engine { namespace {
TEST(Scratch, Print) {
  const char* file = std::getenv("SCRATCH_HTML");
  if (!file) return;
  std::ifstream in(file); std::stringstream ss; ss << in.rdbuf();
  int width = std::getenv("SCRATCH_W") ? std::atoi(std::getenv("SCRATCH_W")) : 600;
  auto doc = testing::ParseAndLayOut(ss.str(), width);
  std::printf("%s", testing::DumpLayout(*doc.root).c_str());
  for (const TSection* t : testing::TextSections(*doc.root)) std::printf("%s", DumpTextLines(*t).c_str());
}
}}
