#include "engine/css/FontInfo.h"

#include <array>
#include <mutex>
#include <string_view>
#include <unordered_map>

#include "engine/css/CssText.h"
#include "engine/css/CssValues.h"
#include "engine/css/FontDevice.h"

namespace engine {
namespace {

struct GenericFamily {
  std::string_view generic;
  std::string_view font;
};

constexpr std::array<GenericFamily, 5> kGenericFamilies = {{
    {"serif", "Times New Roman"},
    {"monospace", "Courier New"},
    {"sans-serif", "Arial"},
    {"cursive", "Lucida Handwriting"},
    {"helvetica", "Arial"},
}};

bool IsQuote(char c) { return c == '"' || c == '\''; }

void ApplyFontWeight(ThtFontInfo& info, const TPropValue& value) {
  if (const std::string* text = TextOf(value)) {
    long long weight = 0;
    if (text->find("bold") != std::string::npos) {
      info.iStyle |= fsBold;
    } else if (text->find("normal") != std::string::npos) {
      info.iStyle &= static_cast<TFontStyles>(~fsBold);
    } else if (ParseInteger(TrimView(*text), weight) && weight >= 600) {
      info.iStyle |= fsBold;
    }
  } else if (const int* number = std::get_if<int>(&value); number && *number >= 600) {
    info.iStyle |= fsBold;
  }
}

bool SearchInstalledFamily(const std::string& families, std::string& name) {
  std::string_view rest = families;
  while (true) {
    std::size_t comma = rest.find(',');
    std::string candidate = GenericFamilyFont(Trim(rest.substr(0, comma)));
    if (!candidate.empty() && IsQuote(candidate.back())) candidate.pop_back();
    if (!candidate.empty() && IsQuote(candidate.front())) candidate.erase(0, 1);
    if (!candidate.empty() && IsFontInstalled(candidate)) {
      name = candidate;
      return true;
    }
    if (comma == std::string_view::npos) return false;
    rest.remove_prefix(comma + 1);
  }
}

// Every element's font resolves its font-family text, and a page repeats a few
// texts: the choice is kept per text while the installed-family answers it came
// from hold. Bounded: a page of many texts starts it afresh, and long texts
// are not kept, so what stays held after a page is small.
class FamilyChoices {
 public:
  bool Choose(const std::string& families, std::string& name) {
    const unsigned version = FontDeviceVersion();
    if (version == 0 || families.size() > kMaxTextLength) return SearchInstalledFamily(families, name);
    std::lock_guard<std::mutex> lock(mutex_);
    if (version != version_ || choices_.size() >= kMaxTexts) {
      choices_.clear();
      version_ = version;
    }
    auto found = choices_.find(families);
    if (found == choices_.end()) {
      Choice choice;
      choice.found = SearchInstalledFamily(families, choice.name);
      found = choices_.emplace(families, std::move(choice)).first;
    }
    if (found->second.found) name = found->second.name;
    return found->second.found;
  }

 private:
  struct Choice {
    bool found = false;
    std::string name;
  };
  static constexpr std::size_t kMaxTexts = 1024;
  static constexpr std::size_t kMaxTextLength = 256;
  std::mutex mutex_;
  unsigned version_ = 0;
  std::unordered_map<std::string, Choice> choices_;
};

}  // namespace

std::string GenericFamilyFont(const std::string& name) {
  std::string lowered = LowerCase(name);
  for (const GenericFamily& family : kGenericFamilies) {
    if (family.generic == lowered) return std::string(family.font);
  }
  return name;
}

bool FirstInstalledFamily(const std::string& families, std::string& name) {
  static FamilyChoices choices;
  return choices.Choose(families, name);
}

void ThtFontInfo::ApplyRuleValue(int index, const TPropValue& value) {
  const std::string* text = TextOf(value);
  switch (static_cast<Prop>(index)) {
    case Prop::FontFamily:
      if (text) FirstInstalledFamily(*text, iName);
      break;
    case Prop::FontSize:
      if (text) {
        iSize = FontSizeFromString(*text, iSize);
      } else if (const double* points = std::get_if<double>(&value)) {
        iSize = *points;
      }
      break;
    case Prop::FontStyle:
      if (text && (*text == "italic" || *text == "oblique")) {
        iStyle |= fsItalic;
      } else if (text && *text == "normal") {
        iStyle &= static_cast<TFontStyles>(~fsItalic);
      }
      break;
    case Prop::FontWeight:
      ApplyFontWeight(*this, value);
      break;
    case Prop::TextDecoration:
      if (text && *text == "underline") {
        iStyle |= fsUnderline;
      } else if (text && *text == "line-through") {
        iStyle |= fsStrikeOut;
      } else if (text && *text == "none") {
        iStyle &= static_cast<TFontStyles>(~(fsUnderline | fsStrikeOut));
      }
      break;
    case Prop::LetterSpacing:
      iSpace = value;
      break;
    case Prop::Color:
      if (const int* colour = std::get_if<int>(&value)) iColor = static_cast<TColor>(*colour);
      break;
    case Prop::BackgroundColor:
      if (const int* colour = std::get_if<int>(&value)) ibgColor = static_cast<TColor>(*colour);
      break;
    default:
      break;
  }
}

TFontInfoArray::TFontInfoArray() {
  for (auto& info : Ar) info = std::make_unique<ThtFontInfo>();
}

void TFontInfoArray::Assign(const TFontInfoArray& source) {
  for (std::size_t index = 0; index < Ar.size(); ++index) Ar[index]->Assign(*source.Ar[index]);
}

}  // namespace engine
