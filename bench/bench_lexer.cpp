// Lexing speed over a large generated document that looks like real pages:
// nested tables, links with several attributes, paragraphs of prose with a few
// character references, comments and line breaks.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

#include "engine/html/HtmlLexer.h"
#include "engine/html/ParseState.h"
#include "engine/css/TProperties.h"

namespace {

const char* const kWords1252[] = {"the", "message", "rules", "caf\xE9", "window", "se\xF1or", "document",
                                  "filter", "\x93quoted\x94", "folder", "na\xEFve", "server"};
const char* const kWordsUtf8[] = {"the", "message", "rules", "caf\xC3\xA9", "window", "se\xC3\xB1or", "document",
                                  "filter", "\xE2\x80\x9Cquoted\xE2\x80\x9D", "folder", "\xE6\x97\xA5\xE6\x9C\xAC",
                                  "server"};

std::string Paragraph(std::mt19937& random, const char* const* words) {
  std::string text;
  const int count = 20 + static_cast<int>(random() % 60);
  for (int i = 0; i < count; ++i) {
    text += words[random() % 12];
    if (random() % 40 == 0) text += " &amp;";
    if (random() % 90 == 0) text += " &#8211;";
    text += random() % 15 == 0 ? "\r\n" : " ";
  }
  return text;
}

std::string MakeDocument(std::size_t targetBytes, const char* const* words) {
  std::mt19937 random(1234);
  std::string html =
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<html><head><title>Rules</title>\r\n"
      "<meta http-equiv=\"Content-Type\" content=\"text/html\">\r\n</head>\r\n"
      "<body bgcolor=\"#FFFFFF\" text=\"#000000\" link=\"#0000CC\">\r\n";
  int row = 0;
  while (html.size() < targetBytes) {
    html += "<!-- section " + std::to_string(row) + " -->\r\n";
    html += "<table width=\"100%\" border=0 cellpadding=\"2\" cellspacing=0 class=\"list\">\r\n";
    for (int r = 0; r < 4; ++r, ++row) {
      html += "  <tr valign=top>\r\n    <td width=\"30%\" class=\"name\"><a href=\"rule" + std::to_string(row) +
              ".htm\" target=\"main\" title=\"Open rule\">Rule " + std::to_string(row) + "</a></td>\r\n";
      html += "    <td><font face=\"Arial\" size=2>" + Paragraph(random, words) + "</font></td>\r\n  </tr>\r\n";
    }
    html += "</table>\r\n<p align=left>" + Paragraph(random, words) + "<br>\r\n<b>" + Paragraph(random, words) +
            "</b></p>\r\n<img src=\"images/spacer.gif\" width=1 height=8 alt=\"\">\r\n";
  }
  html += "</body></html>\r\n";
  return html;
}

void LexDocument(benchmark::State& benchState, const std::string& document, int codePage) {
  using namespace engine;
  for (auto _ : benchState) {
    ResetParseState();
    auto properties = std::make_unique<TProperties>();
    properties->CodePage = codePage;
    parseState.PropStack.Add(std::move(properties));
    SetDocumentText(document);
    NextCharSkippingMarkup();
    std::size_t characters = 0;
    do {
      NextSymbol();
      characters += parseState.Token->CurrentText().size();
    } while (parseState.Symbol != symEndOfInput);
    benchmark::DoNotOptimize(characters);
  }
  benchState.SetBytesProcessed(static_cast<std::int64_t>(benchState.iterations()) *
                               static_cast<std::int64_t>(document.size()));
}

void BM_LexWindows1252(benchmark::State& state) {
  static const std::string document = MakeDocument(8u << 20, kWords1252);
  LexDocument(state, document, 1252);
}
BENCHMARK(BM_LexWindows1252)->Unit(benchmark::kMillisecond);

void BM_LexUtf8(benchmark::State& state) {
  static const std::string document = MakeDocument(8u << 20, kWordsUtf8);
  LexDocument(state, document, 65001);
}
BENCHMARK(BM_LexUtf8)->Unit(benchmark::kMillisecond);

}  // namespace
