// Arbitrary bytes as a document: the first byte picks the document's
// character set and whether it is read as HTML or plain text; the rest is
// parsed into a document root without a viewer, laid out at two widths and
// freed. Includes, scripts and META answer with small handlers.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>

#include "engine/document/TSectionList.h"
#include "engine/html/DocumentParser.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TStringList.h"

namespace {

constexpr int kCharsets[] = {1, 0, 128, 129, 134, 136, 161, 162, 177, 178, 186, 204, 222, 238};

void LayOut(engine::TSectionList& root, gui::TCanvas& canvas, int width) {
  int maxWidth = 0;
  int curs = 0;
  root.LayoutContent(&canvas, 0, width, 400, 0, maxWidth, curs);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace engine;
  if (size < 1) return 0;
  const int charset = kCharsets[data[0] % std::size(kCharsets)];
  const bool plainText = (data[0] & 0x80) != 0;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

  static gui::TBitmap* bitmap = [] {
    auto* made = new gui::TBitmap;
    made->SetSize(64, 64);
    return made;
  }();
  auto root = std::make_unique<TSectionList>(nullptr, nullptr);
  root->SetDocumentDefaults("Times New Roman", "Courier New", 12, 0, 0xFF0000, 0x800080, 0xFF, 0xFFFFFF, false, true,
                            charset, 5, 10);
  if (plainText) {
    ParsePlainText(text, *root, nullptr);
  } else {
    TParseHandlers handlers;
    handlers.OnInclude = [](gui::TObject*, const std::string& command, std::unique_ptr<gui::TStringList>,
                            std::string& included) {
      if (command.size() % 3 == 1) included = "<b>" + command + "</i><!--#" + command + "-->";
    };
    handlers.OnScript = [](gui::TObject*, const std::string&, const std::string&, const std::string&) {};
    handlers.OnMeta = [](gui::TObject*, const std::string&, const std::string&, const std::string&) {};
    ParseHtmlSource(text, *root, nullptr, handlers);
  }
  LayOut(*root, bitmap->Canvas(), 600);
  LayOut(*root, bitmap->Canvas(), 37);
  return 0;
}
