// Arbitrary bytes as a document: the first byte picks the code page and the
// reading mode, the rest is lexed to the end. Server-side includes answer
// with markup taken from their command, their own include among it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "engine/html/EParseError.h"
#include "platform/gui/TStringList.h"
#include "tests/engine/LexerTestSupport.h"

namespace {

constexpr int kCodePages[] = {0,    1252, 65001, 932,  936,  949,   950,   1250,  1251,  1253,  1254,
                              1255, 1256, 1257,  1258, 874,  866,   20866, 28591, 28592, 28595, 28597,
                              28599, 28605, 874, 51932};

void StartDocument(const std::uint8_t* data, std::size_t size) {
  using namespace engine;
  testing::PrepareLexing(std::string(reinterpret_cast<const char*>(data + 1), size - 1),
                         kCodePages[data[0] % std::size(kCodePages)]);
  parseState.RawMode = (data[0] & 0x40) != 0;
  parseState.CountingPass = (data[0] & 0x20) != 0;
  parseState.ProgressShare = 75;
  parseState.ReportProgress = [](int) {};
  parseState.RegisterIdAnchor = [](const std::string&, int) {};
  if (data[0] & 0x80) {
    parseState.OnInclude = [](gui::TObject*, const std::string& command, std::unique_ptr<gui::TStringList> params,
                              std::string& included) {
      if (command.empty()) return;
      included = command.size() % 2 ? "<b x=" + command + ">&amp;" : "<!--#" + command + "-->";
      if (params->Count() > 0) included += "<!--#" + params->Strings(0) + "-->";
    };
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace engine;
  if (size == 0) return 0;
  StartDocument(data, size);
  const bool raw = (data[0] & 0x10) != 0;
  try {
    NextCharSkippingMarkup();
    // Every call consumes input or reaches its end; the bound only guards that.
    for (std::size_t calls = 0; calls < 4 * size + 16; ++calls) {
      if (raw) {
        ReadRawToken();
      } else {
        NextSymbol();
      }
      if (parseState.Symbol == symEndOfInput) break;
      const TokenObj& token = *parseState.Token;
      if (token.Characters.size() != token.Positions.size()) std::abort();
    }
  } catch (const EParseError&) {
  }
  ResetParseState();
  return 0;
}
