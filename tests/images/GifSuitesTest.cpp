// The GIF suites decoded frame by frame against their reference frames.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "GifTestSupport.h"
#include "platform/gui/Exception.h"
#include "platform/win/gdi/Surface.h"

namespace images::testing {
namespace {

// Differences between frame `frame` of a loaded GIF and an RGBA reference.
// A reference pixel with alpha 0 must be transparent in the mask, or black
// when the GIF has no mask (uncovered screen stays black).
struct FrameDiff {
  int pixels = 0;
  std::string first;
};

FrameDiff CompareFrame(LoadedGif& loaded, int frame, const std::uint8_t* rgba, int width, int height) {
  FrameDiff diff;
  const int screenWidth = loaded.gif.ScreenWidth();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* p = rgba + (static_cast<std::size_t>(y) * width + x) * 4;
      const int sx = frame * screenWidth + x;
      const std::uint32_t got = StripPixel(*loaded.strip, sx, y);
      const int masked = loaded.mask ? MaskPixel(*loaded.mask, sx, y) : 0;
      const std::uint32_t want = (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
      bool ok;
      if (p[3] < 128) ok = loaded.mask ? masked == 1 : got == 0;
      else ok = masked == 0 && got == want;
      if (ok) continue;
      if (diff.pixels++ == 0) {
        std::ostringstream text;
        text << "frame " << frame << " (" << x << "," << y << "): got " << std::hex << got << " mask " << masked
             << ", want " << want << " alpha " << std::dec << int(p[3]);
        diff.first = text.str();
      }
    }
  return diff;
}

FrameDiff CompareWithPng(LoadedGif& loaded, int frame, const std::string& path) {
  const RgbaImage reference = ReadPngRgba(path);
  if (reference.rgba.empty()) return {1, "unreadable reference " + path};
  if (reference.width != loaded.gif.ScreenWidth() || reference.height != loaded.gif.ScreenHeight())
    return {1, "reference size differs: " + path};
  return CompareFrame(loaded, frame, reference.rgba.data(), reference.width, reference.height);
}

// giflib's pictures: the single-image opaque ones match their raw RGB check
// files exactly; the animations decode with their frame counts and loops.
TEST(GifSuites, GiflibPicturesMatchTheirChecks) {
  const std::string dir = GifDataDir() + "giflib/";
  for (const char* name : {"gifgrid", "porsche", "solid2", "treescap", "treescap-interlaced"}) {
    SCOPED_TRACE(name);
    LoadedGif loaded;
    ASSERT_NO_THROW(LoadGif(loaded, ReadBytes(dir + "pic/" + name + ".gif")));
    ASSERT_EQ(loaded.gif.ImageCount(), 1);
    EXPECT_EQ(loaded.mask, nullptr);
    const std::string rgb = ReadBytes(dir + "tests/" + name + ".rgb");
    const int width = loaded.gif.ScreenWidth(), height = loaded.gif.ScreenHeight();
    ASSERT_EQ(rgb.size(), static_cast<std::size_t>(width) * height * 3);
    int differing = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(rgb.data()) + (static_cast<std::size_t>(y) * width + x) * 3;
        differing += StripPixel(*loaded.strip, x, y) != ((std::uint32_t{p[0]} << 16) | (p[1] << 8) | p[2]);
      }
    EXPECT_EQ(differing, 0);
  }
  struct Animation {
    const char* name;
    int frames, loops;
    bool transparent;
  };
  for (const Animation& a : {Animation{"fire", 33, 0, false}, Animation{"welcome2", 6, 1000, true},
                             Animation{"x-trans", 1, -1, true}}) {
    SCOPED_TRACE(a.name);
    LoadedGif loaded;
    ASSERT_NO_THROW(LoadGif(loaded, ReadBytes(dir + "pic/" + a.name + ".gif")));
    EXPECT_EQ(loaded.gif.ImageCount(), a.frames);
    EXPECT_EQ(loaded.gif.LoopCount(), a.loops);
    EXPECT_EQ(loaded.mask != nullptr, a.transparent);
  }
  LoadedGif wedge;
  EXPECT_NO_THROW(LoadGif(wedge, ReadBytes(dir + "tests/wedge.gif")));
}

#if PAGEWELL_HAVE_LIBPNG
// The peterdn suite: 100x100 GIFs with every composed frame as a PNG.
// NOTE: disposal 3 (restore to previous) shows the background like disposal
// 2 in our strip, so those files are expected to differ in exactly the
// frames that follow a restore-to-previous frame.
TEST(GifSuites, PeterdnFramesMatchTheirReferences) {
  const std::string dir = GifDataDir() + "gifs/";
  const std::map<std::string, int> restorePreviousDiffers = {
      {"animated_transparent_restoreprev_loop", 1},
      {"animated_transparent_frame_restoreprev_loop", 1},
  };
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().extension() != ".gif") continue;
    const std::string name = entry.path().stem().string();
    SCOPED_TRACE(name);
    ++files;
    LoadedGif loaded;
    ASSERT_NO_THROW(LoadGif(loaded, ReadBytes(entry.path().string())));
    int differing = 0;
    for (int frame = 0; frame < loaded.gif.ImageCount(); ++frame) {
      const std::string single = dir + "frames/" + name + ".png";
      const std::string numbered = dir + "frames/" + name + "-" + std::to_string(frame) + ".png";
      const FrameDiff diff = CompareWithPng(loaded, frame, std::filesystem::exists(numbered) ? numbered : single);
      if (diff.pixels) {
        ++differing;
        if (!restorePreviousDiffers.count(name)) ADD_FAILURE() << diff.pixels << " pixels differ; " << diff.first;
      }
    }
    if (restorePreviousDiffers.count(name)) {
      EXPECT_GE(differing, restorePreviousDiffers.at(name));
    }
  }
  EXPECT_EQ(files, 13);
}

// A pygif test description: [config] keys and one section per frame.
using IniSections = std::map<std::string, std::map<std::string, std::string>>;

IniSections ReadIni(const std::string& path) {
  IniSections sections;
  std::istringstream in(ReadBytes(path));
  std::string line, section;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[') {
      section = line.substr(1, line.find(']') - 1);
      continue;
    }
    const std::size_t equals = line.find(" = ");
    if (equals != std::string::npos) sections[section][line.substr(0, equals)] = line.substr(equals + 3);
    else if (line.back() == '=') sections[section][line.substr(0, line.find(' '))] = "";
  }
  return sections;
}

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> parts;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, ',');)
    if (!part.empty()) parts.push_back(part);
  return parts;
}

FrameDiff CompareWithReference(LoadedGif& loaded, int frame, const std::map<std::string, std::string>& expected,
                               const std::string& dir) {
  if (expected.count("image")) return CompareWithPng(loaded, frame, dir + expected.at("image"));
  const std::string rgba = ReadBytes(dir + expected.at("pixels"));
  const int width = loaded.gif.ScreenWidth(), height = loaded.gif.ScreenHeight();
  if (rgba.size() != static_cast<std::size_t>(width) * height * 4) return {1, "reference size differs"};
  return CompareFrame(loaded, frame, reinterpret_cast<const std::uint8_t*>(rgba.data()), width, height);
}

// The pygif suite: each file with frames decodes to them (the last frame
// when the frame counts differ, as the suite's own runner compares) and its
// loop count; files without frames only must not crash. Files that decode
// differently on purpose are listed with the reason.
TEST(GifSuites, PygifFilesDecodeAsDescribed) {
  const std::string dir = GifDataDir() + "pygif/";
  const std::map<std::string, std::string> refused = {
      {"no-data", "no image: No Image Description"},
      {"image-zero-width", "an empty image: Zero width or height"},
      {"image-zero-height", "an empty image: Zero width or height"},
      {"image-zero-size", "an empty image: Zero width or height"},
      {"unknown-extension", "unknown extension labels are errors"},
  };
  // Decoded, but shown otherwise than the reference on purpose.
  const std::map<std::string, std::string> shownOtherwise = {
      {"dispose-restore-background", "without a transparent colour there is no mask to restore through"},
      {"dispose-restore-previous", "restore to previous shows the background"},
  };
  // Only the NETSCAPE extension sets a loop count.
  const std::set<std::string> otherLoopExtension = {"loop-animexts", "gif87a-animation"};
  std::istringstream tests(ReadBytes(dir + "TESTS"));
  int count = 0;
  for (std::string name; std::getline(tests, name);) {
    if (name.empty()) continue;
    SCOPED_TRACE(name);
    ++count;
    IniSections conf = ReadIni(dir + name + ".conf");
    const std::vector<std::string> frames = SplitCommas(conf["config"]["frames"]);
    LoadedGif loaded;
    try {
      LoadGif(loaded, ReadBytes(dir + conf["config"]["input"]));
    } catch (const gui::EOutOfResources&) {
      // Strips wider or taller than the platform's bitmaps.
      const int width = std::stoi(conf["config"]["width"]), height = std::stoi(conf["config"]["height"]);
      EXPECT_FALSE(win::surfaceSizeAllowed(width, height));
      continue;
    } catch (const gui::Exception& e) {
      EXPECT_TRUE(frames.empty() || refused.count(name)) << "refused: " << e.Message();
      continue;
    }
    EXPECT_FALSE(refused.count(name)) << "decoded";
    if (frames.empty()) continue;
    EXPECT_EQ(std::to_string(loaded.gif.ScreenWidth()), conf["config"]["width"]);
    EXPECT_EQ(std::to_string(loaded.gif.ScreenHeight()), conf["config"]["height"]);
    const std::string loops = conf["config"]["loop-count"];
    const int loop = loaded.gif.LoopCount();
    if (!otherLoopExtension.count(name)) {
      EXPECT_EQ(loops, loop == 0 ? "infinite" : loop < 0 ? "0" : std::to_string(loop));
    }
    const int ours = loaded.gif.ImageCount();
    const int theirs = static_cast<int>(frames.size());
    int differing = 0;
    for (int frame = ours == theirs ? 0 : theirs - 1; frame < theirs; ++frame) {
      const int mine = ours == theirs ? frame : ours - 1;
      const FrameDiff diff = CompareWithReference(loaded, mine, conf[frames[static_cast<std::size_t>(frame)]], dir);
      if (shownOtherwise.count(name)) differing += diff.pixels;
      else EXPECT_EQ(diff.pixels, 0) << diff.first;
    }
    if (shownOtherwise.count(name)) {
      EXPECT_GT(differing, 0) << "now matches: " << shownOtherwise.at(name);
    }
  }
  EXPECT_EQ(count, 84);
}
#endif

}  // namespace
}  // namespace images::testing
