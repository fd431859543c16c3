#include "platform/win/text/FontResolver.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <memory>
#include <tuple>

#include <fontconfig/fontconfig.h>

#include "platform/win/text/WindowsFaces.h"

namespace win {
namespace {

struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

struct ObjectSetDeleter {
  void operator()(FcObjectSet* set) const { FcObjectSetDestroy(set); }
};
struct FontSetDeleter {
  void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};

std::string lowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool sameName(const std::string& a, const std::string& b) { return lowerCase(a) == lowerCase(b); }

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// fontconfig stays initialised for the life of the process; no fontconfig
// object outlives a call here, so finishing it at exit is safe.
struct FontconfigSession {
  FontconfigSession() : ready(FcInit() == FcTrue) {}
  ~FontconfigSession() {
    if (ready) FcFini();
  }
  FontconfigSession(const FontconfigSession&) = delete;
  FontconfigSession& operator=(const FontconfigSession&) = delete;
  bool ready;
};

bool fontconfigReady() {
  static const FontconfigSession session;
  return session.ready;
}

bool patternHasFamily(FcPattern* pattern, const std::string& family) {
  FcChar8* value = nullptr;
  for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &value) == FcResultMatch; ++i)
    if (sameName(reinterpret_cast<const char*>(value), family)) return true;
  return false;
}

// A substituted pattern for the family (empty: fontconfig's default), weight,
// slant and language (null: any), or null.
Pattern requestPattern(const std::string& family, int weight, bool italic, const char* language) {
  if (!fontconfigReady()) return nullptr;
  Pattern pattern(FcPatternCreate());
  if (!pattern) return nullptr;
  if (!family.empty())
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  if (language) FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>(language));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  return pattern;
}

bool hasFile(FcPattern* pattern) {
  FcChar8* file = nullptr;
  return FcPatternGetString(pattern, FC_FILE, 0, &file) == FcResultMatch;
}

// fontconfig's best match for the family (empty: its default), or null.
Pattern matchFamily(const std::string& family, int weight, bool italic, const char* language = nullptr) {
  Pattern pattern = requestPattern(family, weight, italic, language);
  if (!pattern) return nullptr;
  FcResult result = FcResultNoMatch;
  Pattern match(FcFontMatch(nullptr, pattern.get(), &result));
  if (!match || !hasFile(match.get())) return nullptr;
  return match;
}

// The language whose characters a font asked for with the character set must
// have; null for the sets the Liberation faces cover, or link (Hebrew, Arabic).
const char* languageOfCharset(unsigned char charset) {
  switch (charset) {
    case 128: return "ja";     // SHIFTJIS_CHARSET
    case 129: case 130: return "ko";  // HANGUL_CHARSET, JOHAB_CHARSET
    case 134: return "zh-cn";  // GB2312_CHARSET
    case 136: return "zh-tw";  // CHINESEBIG5_CHARSET
    default: return nullptr;
  }
}

bool supportsLanguage(FcPattern* match, const char* language) {
  FcLangSet* languages = nullptr;
  return FcPatternGetLangSet(match, FC_LANG, 0, &languages) == FcResultMatch &&
         FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>(language)) == FcLangEqual;
}

bool isFixedPitch(FcPattern* match) {
  int spacing = FC_PROPORTIONAL;
  return FcPatternGetInteger(match, FC_SPACING, 0, &spacing) == FcResultMatch && spacing >= FC_MONO;
}

const char* fallbackFamily(unsigned char pitchAndFamily) {
  const unsigned family = pitchAndFamily & 0xF0u;
  if ((pitchAndFamily & 0x03u) == 1 || family == 0x30u) return "Liberation Mono";
  if (family == 0x10u) return "Liberation Serif";
  return "Liberation Sans";
}

ResolvedFont describeMatch(FcPattern* match, const FontRequest& request, bool requestedExists) {
  ResolvedFont resolved;
  resolved.requestedExists = requestedExists;
  FcChar8* text = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &text) == FcResultMatch)
    resolved.path = reinterpret_cast<const char*>(text);
  if (FcPatternGetString(match, FC_FAMILY, 0, &text) == FcResultMatch)
    resolved.usedFamily = reinterpret_cast<const char*>(text);
  FcPatternGetInteger(match, FC_INDEX, 0, &resolved.faceIndex);
  // fontconfig's own synthesis rules rewrite weight and slant of a match that
  // lacks them and mark it with embolden and a shear matrix instead.
  int weight = FC_WEIGHT_REGULAR;
  int slant = FC_SLANT_ROMAN;
  FcBool embolden = FcFalse;
  FcMatrix* matrix = nullptr;
  FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
  FcPatternGetInteger(match, FC_SLANT, 0, &slant);
  FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden);
  const bool sheared = FcPatternGetMatrix(match, FC_MATRIX, 0, &matrix) == FcResultMatch && matrix->xy != 0;
  resolved.synthesizeBold = request.weight >= 600 && (weight < FC_WEIGHT_DEMIBOLD || embolden == FcTrue);
  resolved.synthesizeItalic = request.italic && (slant == FC_SLANT_ROMAN || sheared);
  return resolved;
}

// The face for the name: a Windows face or substitute drawn by its Liberation
// face, or an installed family; null when the name is none of these.
Pattern matchName(const FontRequest& request, const WindowsFace*& windowsFace) {
  const std::string name = trimmed(request.family);
  windowsFace = windowsFaceNamed(name);
  const std::string target = windowsFace ? windowsFace->drawnBy : name;
  if (target.empty()) return nullptr;
  Pattern match = matchFamily(target, request.weight, request.italic);
  return match && patternHasFamily(match.get(), target) ? std::move(match) : nullptr;
}

ResolvedFont resolveUncached(const FontRequest& request) {
  const WindowsFace* windowsFace = nullptr;
  Pattern match = matchName(request, windowsFace);
  const bool named = match != nullptr;
  if (!match) {
    const std::string fallback = fallbackFamily(request.pitchAndFamily);
    match = matchFamily(fallback, request.weight, request.italic);
    if (!match || !patternHasFamily(match.get(), fallback))
      match = matchFamily(std::string(), request.weight, request.italic);
  }
  // As the font mapper ranks the character set above the face name, a font
  // asked for in a character set the face lacks takes a face that has it,
  // fixed pitch when the named face is.
  const char* language = languageOfCharset(request.charset);
  if (language && !(match && supportsLanguage(match.get(), language))) {
    const bool fixedPitch = match ? isFixedPitch(match.get()) : (request.pitchAndFamily & 0x03u) == 1;
    Pattern forLanguage = matchFamily(fixedPitch ? "monospace" : "", request.weight, request.italic, language);
    if (forLanguage && supportsLanguage(forLanguage.get(), language))
      return describeMatch(forLanguage.get(), request, false);
  }
  if (!match) return ResolvedFont{};
  if (!named) return describeMatch(match.get(), request, false);
  if (!windowsFace || isFaceName(*windowsFace)) return describeMatch(match.get(), request, true);
  ResolvedFont resolved = describeMatch(match.get(), request, false);
  resolved.substitutedFace = windowsFace->face;
  return resolved;
}

using RequestKey = std::tuple<std::string, int, bool, unsigned char, unsigned char>;

std::map<RequestKey, std::unique_ptr<ResolvedFont>>& resolutionCache() {
  static std::map<RequestKey, std::unique_ptr<ResolvedFont>> cache;
  return cache;
}

std::vector<std::string> listedFamilies() {
  std::vector<std::string> families;
  if (!fontconfigReady()) return families;
  Pattern all(FcPatternCreate());
  std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(FcObjectSetBuild(FC_FAMILY, nullptr));
  if (!all || !objects) return families;
  std::unique_ptr<FcFontSet, FontSetDeleter> fonts(FcFontList(nullptr, all.get(), objects.get()));
  if (!fonts) return families;
  for (int i = 0; i < fonts->nfont; ++i) {
    FcChar8* value = nullptr;
    for (int j = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, j, &value) == FcResultMatch; ++j)
      families.emplace_back(reinterpret_cast<const char*>(value));
  }
  return families;
}

}  // namespace

const ResolvedFont& resolveFont(const FontRequest& request) {
  RequestKey key{lowerCase(trimmed(request.family)), request.weight, request.italic, request.pitchAndFamily,
                 request.charset};
  auto& cache = resolutionCache();
  auto found = cache.find(key);
  if (found != cache.end()) return *found->second;
  auto resolved = std::make_unique<ResolvedFont>(resolveUncached(request));
  return *cache.emplace(std::move(key), std::move(resolved)).first->second;
}

std::vector<std::string> installedFontFamilies() {
  std::vector<std::string> families = listedFamilies();
  for (const WindowsFace* face : windowsFaceNames()) {
    Pattern match = matchFamily(face->drawnBy, 400, false);
    if (match && patternHasFamily(match.get(), face->drawnBy)) families.emplace_back(face->name);
  }
  std::sort(families.begin(), families.end(), [](const std::string& a, const std::string& b) {
    const std::string la = lowerCase(a), lb = lowerCase(b);
    return la != lb ? la < lb : a < b;
  });
  families.erase(std::unique(families.begin(), families.end(), sameName), families.end());
  return families;
}

std::vector<ResolvedFont> fallbackFonts(const FontRequest& request) {
  std::vector<ResolvedFont> fonts;
  Pattern pattern = requestPattern(trimmed(request.family), request.weight, request.italic, nullptr);
  if (!pattern) return fonts;
  FcResult result = FcResultNoMatch;
  std::unique_ptr<FcFontSet, FontSetDeleter> sorted(FcFontSort(nullptr, pattern.get(), FcTrue, nullptr, &result));
  if (!sorted) return fonts;
  for (int i = 0; i < sorted->nfont; ++i) {
    Pattern prepared(FcFontRenderPrepare(nullptr, pattern.get(), sorted->fonts[i]));
    if (prepared && hasFile(prepared.get())) fonts.push_back(describeMatch(prepared.get(), request, false));
  }
  return fonts;
}

void resetFontResolver() { resolutionCache().clear(); }

}  // namespace win
