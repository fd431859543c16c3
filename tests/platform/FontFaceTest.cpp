#include "platform/win/text/FontFace.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win/text/FontInstance.h"

namespace win {
namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
}
void put32(Bytes& out, std::uint32_t value) {
  put16(out, value >> 16);
  put16(out, value & 0xFFFF);
}
void zeros(Bytes& out, std::size_t count) { out.insert(out.end(), count, 0); }

// A three-glyph TrueType font whose only cmap is a (3, 0) symbol cmap mapping
// U+F041 and U+F042 to glyphs 1 and 2. Glyphs have no outlines; advances are
// 500, 600 and 700 units of a 1000-unit em.
Bytes symbolFont() {
  std::map<std::string, Bytes> tables;
  Bytes& head = tables["head"];
  put32(head, 0x00010000);  // version
  put32(head, 0x00010000);  // fontRevision
  put32(head, 0);           // checkSumAdjustment
  put32(head, 0x5F0F3CF5);  // magicNumber
  put16(head, 0);           // flags
  put16(head, 1000);        // unitsPerEm
  zeros(head, 16);          // created, modified
  zeros(head, 8);           // xMin, yMin, xMax, yMax
  zeros(head, 6);           // macStyle, lowestRecPPEM, fontDirectionHint
  put16(head, 0);           // indexToLocFormat: short offsets
  put16(head, 0);           // glyphDataFormat
  Bytes& hhea = tables["hhea"];
  put32(hhea, 0x00010000);
  put16(hhea, 800);          // ascender
  put16(hhea, 0x10000 - 200);  // descender
  put16(hhea, 0);            // lineGap
  put16(hhea, 700);          // advanceWidthMax
  zeros(hhea, 22);           // bearings, extent, caret, reserved, metricDataFormat
  put16(hhea, 3);            // numberOfHMetrics
  Bytes& maxp = tables["maxp"];
  put32(maxp, 0x00010000);
  put16(maxp, 3);  // numGlyphs
  zeros(maxp, 26);
  Bytes& hmtx = tables["hmtx"];
  for (unsigned advance : {500u, 600u, 700u}) {
    put16(hmtx, advance);
    put16(hmtx, 0);
  }
  Bytes& loca = tables["loca"];
  for (int i = 0; i < 4; ++i) put16(loca, 0);  // every glyph empty
  tables["glyf"] = Bytes(4, 0);
  Bytes& cmap = tables["cmap"];
  put16(cmap, 0);   // version
  put16(cmap, 1);   // numTables
  put16(cmap, 3);   // platform: Windows
  put16(cmap, 0);   // encoding: symbol
  put32(cmap, 12);  // subtable offset
  put16(cmap, 4);   // format 4
  put16(cmap, 32);  // length
  put16(cmap, 0);   // language
  put16(cmap, 4);   // segCountX2
  zeros(cmap, 6);   // searchRange, entrySelector, rangeShift
  put16(cmap, 0xF042);
  put16(cmap, 0xFFFF);  // end codes
  put16(cmap, 0);       // reservedPad
  put16(cmap, 0xF041);
  put16(cmap, 0xFFFF);  // start codes
  put16(cmap, (1 - 0xF041) & 0xFFFF);
  put16(cmap, 1);  // idDelta
  put16(cmap, 0);
  put16(cmap, 0);  // idRangeOffset
  Bytes& os2 = tables["OS/2"];
  put16(os2, 0);   // version
  put16(os2, 600);  // xAvgCharWidth
  put16(os2, 400);  // usWeightClass
  put16(os2, 5);    // usWidthClass
  zeros(os2, 54);   // fsType .. achVendID
  put16(os2, 0);    // fsSelection
  put16(os2, 0xF041);
  put16(os2, 0xF042);  // usFirstCharIndex, usLastCharIndex
  put16(os2, 800);
  put16(os2, 0x10000 - 200);
  put16(os2, 0);     // sTypoAscender, sTypoDescender, sTypoLineGap
  put16(os2, 800);
  put16(os2, 200);   // usWinAscent, usWinDescent
  Bytes& post = tables["post"];
  put32(post, 0x00030000);
  zeros(post, 28);

  Bytes font;
  put32(font, 0x00010000);
  put16(font, static_cast<unsigned>(tables.size()));
  zeros(font, 6);
  std::uint32_t offset = static_cast<std::uint32_t>(12 + 16 * tables.size());
  Bytes body;
  for (auto& [tag, data] : tables) {
    font.insert(font.end(), tag.begin(), tag.end());
    put32(font, 0);  // checksum, not verified
    put32(font, offset + static_cast<std::uint32_t>(body.size()));
    put32(font, static_cast<std::uint32_t>(data.size()));
    body.insert(body.end(), data.begin(), data.end());
    while (body.size() % 4) body.push_back(0);
  }
  font.insert(font.end(), body.begin(), body.end());
  return font;
}

std::string writeTemporary(const Bytes& bytes, const std::string& name) {
  std::string path = ::testing::TempDir() + name + "-" + std::to_string(getpid()) + ".ttf";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                               static_cast<std::streamsize>(bytes.size()));
  return path;
}

TEST(FontFace, SymbolCmapMapsLatinOneToThePrivateUseBlock) {
  const std::string path = writeTemporary(symbolFont(), "symbol-font");
  FontFace* face = loadFontFace(path, 0);
  ASSERT_NE(face, nullptr);
  EXPECT_TRUE(face->tables().symbolCmap);
  EXPECT_EQ(face->glyphIndex('A'), 1u);
  EXPECT_EQ(face->glyphIndex('B'), 2u);
  EXPECT_EQ(face->glyphIndex(0xF041), 1u);
  EXPECT_EQ(face->glyphIndex('C'), 0u);
  FontInstance& instance = fontInstance(*face, 10 * 64, false, false);
  EXPECT_EQ(instance.advance('A'), 6);
  EXPECT_EQ(instance.advance('B'), 7);
  EXPECT_EQ(instance.metrics().ascent, 8);
  EXPECT_EQ(instance.metrics().height, 10);
  EXPECT_EQ(instance.glyph('A').width, 0);
  std::remove(path.c_str());
}

TEST(FontFace, UnreadableFilesAreRefused) {
  EXPECT_EQ(loadFontFace("/nonexistent/font.ttf", 0), nullptr);
  Bytes truncated = symbolFont();
  truncated.resize(40);
  const std::string path = writeTemporary(truncated, "truncated-font");
  EXPECT_EQ(loadFontFace(path, 0), nullptr);
  std::remove(path.c_str());
}

}  // namespace
}  // namespace win
