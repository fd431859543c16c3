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

// fontconfig's best match for the family (empty: its default), or null.
Pattern matchFamily(const std::string& family, int weight, bool italic) {
  if (!fontconfigReady()) return nullptr;
  Pattern pattern(FcPatternCreate());
  if (!pattern) return nullptr;
  if (!family.empty())
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  Pattern match(FcFontMatch(nullptr, pattern.get(), &result));
  FcChar8* file = nullptr;
  if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) return nullptr;
  return match;
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

ResolvedFont resolveUncached(const FontRequest& request) {
  const std::string name = trimmed(request.family);
  const WindowsFace* windowsFace = windowsFaceNamed(name);
  const std::string target = windowsFace ? windowsFace->drawnBy : name;
  if (!target.empty()) {
    Pattern match = matchFamily(target, request.weight, request.italic);
    if (match && patternHasFamily(match.get(), target)) {
      if (!windowsFace || isFaceName(*windowsFace)) return describeMatch(match.get(), request, true);
      ResolvedFont resolved = describeMatch(match.get(), request, false);
      resolved.substitutedFace = windowsFace->face;
      return resolved;
    }
  }
  const std::string fallback = fallbackFamily(request.pitchAndFamily);
  Pattern match = matchFamily(fallback, request.weight, request.italic);
  if (!match || !patternHasFamily(match.get(), fallback)) match = matchFamily(std::string(), request.weight, request.italic);
  if (!match) return ResolvedFont{};
  return describeMatch(match.get(), request, false);
}

using RequestKey = std::tuple<std::string, int, bool, unsigned char>;

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
  RequestKey key{lowerCase(trimmed(request.family)), request.weight, request.italic, request.pitchAndFamily};
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

void resetFontResolver() { resolutionCache().clear(); }

}  // namespace win
