// TSection: construction, copying, building and finishing. Layout, drawing
// and lookups are in TSectionLayout.cpp, TSectionPaint.cpp and TSectionLookups.cpp.
#include "engine/text/TSection.h"
#include "engine/text/TInlineList.h"

#include <algorithm>
#include <array>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/common/BlockPool.h"
#include "engine/common/PieceArena.h"
#include "engine/common/TextHelpers.h"
#include "engine/css/CssValues.h"
#include "engine/css/TProperties.h"
#include "engine/document/TIDNameList.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TAttributeList.h"
#include "engine/html/TUrlTarget.h"
#include "engine/html/TokenBuffers.h"
#include "engine/text/TLinkList.h"
#include "engine/text/TPreFormated.h"
#include "platform/win/gdi/ScreenDevice.h"

namespace engine {
namespace {

constexpr int kMaxIndentPercent = 90;

const std::string* TextValue(const TProperties& props, Prop prop) {
  return TextOf(props.Value(prop));
}

// word is lower case; the value's case is ignored.
bool ValueIs(const TProperties& props, Prop prop, std::string_view word) {
  const std::string* text = TextValue(props, prop);
  return text && text->size() == word.size() && StartsWithNoCase(*text, word);
}

std::uint8_t JustifyOf(const TProperties& props) {
  if (ValueIs(props, Prop::TextAlign, "right")) return 3;
  if (ValueIs(props, Prop::TextAlign, "center")) return 2;
  if (ValueIs(props, Prop::TextAlign, "justify")) return 4;
  return 1;
}

std::uint8_t VerticalShiftOf(const TProperties& props) {
  int align = 0;
  if (!props.GetVertAlign(align)) return kShiftNone;
  return align == kShiftSubscript || align == kShiftSuperscript ? static_cast<std::uint8_t>(align) : kShiftNone;
}

bool SameLook(const std::unique_ptr<ThtFontInfo>& a, const std::unique_ptr<ThtFontInfo>& b) {
  if (!a || !b) return a == b;
  return a->iName == b->iName && a->iSize == b->iSize && a->iStyle == b->iStyle && a->iColor == b->iColor &&
         a->ibgColor == b->ibgColor && a->iCharset == b->iCharset && a->iSpace == b->iSpace;
}

// Most links of a document look alike: their runs share one copy of the looks.
// The recent looks are remembered (links in different contexts take turns),
// each never changed once made.
std::shared_ptr<TFontInfoArray> SharedLinkLooks(const TFontInfoArray& looks) {
  constexpr std::size_t kRemembered = 16;
  thread_local std::array<std::shared_ptr<TFontInfoArray>, kRemembered> recent;
  thread_local std::size_t next = 0;
  // Links come in runs of one look: the last one found is tried first. The
  // remembered looks differ from each other, so the order finds the same one.
  thread_local std::size_t lastFound = 0;
  for (std::size_t step = 0; step < kRemembered; ++step) {
    const std::size_t at = (lastFound + step) % kRemembered;
    const auto& made = recent[at];
    if (made && std::equal(looks.Ar.begin(), looks.Ar.end(), made->Ar.begin(), SameLook)) {
      lastFound = at;
      return made;
    }
  }
  auto made = std::make_shared<TFontInfoArray>();
  made->Assign(looks);
  lastFound = next;
  recent[next] = made;
  next = (next + 1) % kRemembered;
  return made;
}

// The font-size "small" version of props that small caps draw lower-case letters in.
std::unique_ptr<TProperties> SmallCapsProperties(const TProperties& props) {
  auto small = std::make_unique<TProperties>();
  small->CopyValuesAndFontBase(props);
  small->PropTitle = props.PropTitle;
  small->Value(Prop::FontSize) = FontSizeFromString("small", DefaultFontSize());
  return small;
}

// Building buffers of finished sections, kept for the sections built next: a
// document is built one section after another, so a section grows its text,
// break flags and source positions in room that earlier sections made and
// keeps one exact copy of the text, flags and source index when it is finished. A few sets
// are kept (a section may be built while another is open), none of them large.
constexpr std::size_t kSpareBuildBuffers = 4;
constexpr std::size_t kLargestSpareBuffer = std::size_t{1} << 14;  // characters
thread_local std::vector<std::unique_ptr<TSection::BuildBuffers>> spareBuildBuffers;

std::unique_ptr<TSection::BuildBuffers> BorrowBuildBuffers() {
  if (spareBuildBuffers.empty()) return std::make_unique<TSection::BuildBuffers>();
  std::unique_ptr<TSection::BuildBuffers> buffers = std::move(spareBuildBuffers.back());
  spareBuildBuffers.pop_back();
  return buffers;
}

void ReturnBuildBuffers(std::unique_ptr<TSection::BuildBuffers> buffers) {
  if (!buffers || spareBuildBuffers.size() >= kSpareBuildBuffers) return;
  if (buffers->Text.capacity() > kLargestSpareBuffer || buffers->Flags.capacity() > kLargestSpareBuffer ||
      buffers->Positions.capacity() > kLargestSpareBuffer)
    return;
  buffers->Text.clear();
  buffers->Flags.clear();
  buffers->Positions.clear();
  spareBuildBuffers.push_back(std::move(buffers));
}

// The pool for sections of size, or nullptr for a size no pool serves.
BlockPool* SectionPool(std::size_t size) {
  if (size == sizeof(TSection)) return &PoolFor<TSection>();
  if (size == sizeof(TPreFormated)) return &PoolFor<TPreFormated>();
  return nullptr;
}

// The source index of the section built last: gathered here, then copied
// into the section's piece.
thread_local std::vector<IndexObj> scratchIndex;

}  // namespace

void* TSection::operator new(std::size_t size) {
  BlockPool* pool = SectionPool(size);
  return pool ? pool->Allocate() : ::operator new(size);
}

void TSection::operator delete(void* block, std::size_t size) noexcept {
  if (BlockPool* pool = SectionPool(size)) pool->Release(block);
  else ::operator delete(block);
}

TSection::TSection(TSectionList* document, bool firstLineIndent, const TUrlTarget* linkTarget, TProperties& props,
                   TAttributeList* attributes)
    : TSectionBase(document) {
  Fonts.BuildInSpareRoom();
  TFontObj* run = Fonts.Emplace(this, 0, props.SharedFont());
  run->SetTitle(props.PropTitle);
  run->VerticalShift = VerticalShiftOf(props);
  if (linkTarget && !linkTarget->Url.empty()) {
    run->SetUrlTarget(*linkTarget);
    if (props.LinkFonts) {
      run->SetLinkLooks(SharedLinkLooks(*props.LinkFonts));
      if (run->LinkLooks()->Ar[TFontInfoArray::Normal]) run->ApplyFontInfo(*run->LinkLooks()->Ar[TFontInfoArray::Normal]);
    }
    if (TLinkList* links = DocumentLinks()) {
      if (links->IsVisited) run->SetVisited(links->IsVisited(run->UrlTarget().Url));
      run->JoinLinks(*links);
    }
  }
  LineHeight = props.GetLineHeight(std::abs(run->Font->Height()));
  if (firstLineIndent) {
    bool percent = false;
    FirstLineIndent = props.GetTextIndent(percent);
    if (percent) IndentPercent = std::clamp(FirstLineIndent, 0, kMaxIndentPercent);
  }
  const TAttribute* clear = nullptr;
  if (attributes && attributes->Find(symClear, clear)) {
    const std::string value = LowerCase(clear->ValueText);
    ClearKind = value == "left" ? 1 : value == "right" ? 2 : 3;
  }
  int cssClear = 0;
  if (props.GetClear(cssClear)) ClearKind = static_cast<std::uint8_t>(cssClear);
  if (attributes && document && document->IDNameList) {
    const std::string id = attributes->IdValue();
    if (!id.empty()) document->IDNameList->AddObject(id, this);
  }
  Justify = JustifyOf(props);
  BreakWord = ValueIs(props, Prop::WordWrap, "break-word");
}

TSection::TSection(TSectionList* document, const TSection& source) : TSectionBase(document, source) {
  Len = source.Len;
  // The copy has no source index: its positions belong to the source's document.
  KeepInPiece(source.Text, source.BreakFlags, {});
  Justify = source.Justify;
  ClearKind = source.ClearKind;
  LineHeight = source.LineHeight;
  FirstLineIndent = source.FirstLineIndent;
  IndentPercent = source.IndentPercent;
  longestStretch_ = source.longestStretch_;
  BreakWord = source.BreakWord;
  SectionNumber = source.SectionNumber;
  preformatted_ = source.preformatted_;
  finished_ = source.finished_;
  Fonts.CopyFrom(this, source.Fonts);
  if (source.HasObjects()) {
    for (const auto& object : source.ImageObjs()) Objects().Images.push_back(object->CreateCopy(document));
    Objects().Controls = source.FormControls();
  }
}

TSection::~TSection() {
  if (InlineSlot >= 0) {
    if (TInlineList* boxes = InlineListOf(Document)) boxes->Forget(this);
  }
  Unregister();
  ReturnBuildBuffers(std::move(building_));
  ReleasePiece();
}

const std::vector<std::unique_ptr<TInlineObject>>& TSection::ImageObjs() const {
  static const std::vector<std::unique_ptr<TInlineObject>> kNone;
  return objects_ ? objects_->Images : kNone;
}

const std::vector<TInlineObject*>& TSection::FormControls() const {
  static const std::vector<TInlineObject*> kNone;
  return objects_ ? objects_->Controls : kNone;
}

TSection::ObjectLists& TSection::Objects() {
  if (!objects_) objects_ = std::make_unique<ObjectLists>();
  return *objects_;
}

TSection::BuildBuffers& TSection::Building() {
  if (!building_) {
    // From here until the section is finished, its text and flags grow in the
    // borrowed room (keeping what they held).
    building_ = BorrowBuildBuffers();
    building_->Text.append(Text);
    building_->Flags.append(BreakFlags);
    ReleasePiece();
    ShowBuildText();
  }
  return *building_;
}

void TSection::ShowBuildText() {
  Text = building_->Text;
  BreakFlags = building_->Flags;
}

void TSection::KeepInPiece(std::u16string_view text, std::string_view flags, std::span<const IndexObj> index) {
  ReleasePiece();
  // Index entries first, at the piece's alignment; then characters, then flags.
  const std::size_t indexBytes = index.size() * sizeof(IndexObj);
  const std::size_t textBytes = text.size() * sizeof(char16_t);
  const std::size_t bytes = indexBytes + textBytes + flags.size();
  Text = {};
  BreakFlags = {};
  SourceIndex = {};
  if (bytes == 0) return;
  auto* piece = static_cast<std::byte*>(TextArena().Allocate(bytes));
  piece_ = piece;
  pieceBytes_ = bytes;
  auto* keptIndex = reinterpret_cast<IndexObj*>(piece);
  std::copy(index.begin(), index.end(), keptIndex);
  auto* keptText = reinterpret_cast<char16_t*>(piece + indexBytes);
  std::copy(text.begin(), text.end(), keptText);
  auto* keptFlags = reinterpret_cast<char*>(piece + indexBytes + textBytes);
  std::copy(flags.begin(), flags.end(), keptFlags);
  SourceIndex = {keptIndex, index.size()};
  Text = {keptText, text.size()};
  BreakFlags = {keptFlags, flags.size()};
}

void TSection::ReleasePiece() {
  TextArena().Release(piece_, pieceBytes_);
  piece_ = nullptr;
  pieceBytes_ = 0;
}

void TSection::SetBreakFlag(int index, char flag) {
  // The flags are the section's own, in its piece or its build buffers.
  const_cast<char&>(BreakFlags[static_cast<std::size_t>(index)]) = flag;
}

std::unique_ptr<TSectionBase> TSection::CreateCopy(TSectionList* document) const {
  return std::make_unique<TSection>(document, *this);
}

TLinkList* TSection::DocumentLinks() const { return Document ? &Document->Links : nullptr; }

void TSection::Unregister() {
  for (const auto& run : Fonts) run->LeaveLinks(nullptr);
}

void TSection::AppendCharacters(std::u16string_view text, const int* positions, char flag) {
  BuildBuffers& built = Building();
  // The borrowed buffers grow geometrically: appending stays linear however
  // the text arrives.
  built.Positions.insert(built.Positions.end(), positions, positions + text.size());
  built.Flags.append(text.size(), flag);
  built.Text.append(text);
  ShowBuildText();
  Len = static_cast<int>(Text.size());
}

void TSection::AppendChar(char16_t ch, int sourcePos, TProperties& props, bool noBreak) {
  TokenObj token;
  token.AppendChar(ch, sourcePos);
  AppendTextRun(token, props, noBreak);
}

void TSection::AppendTextRun(const TokenObj& token, TProperties& props, bool noBreak) {
  if (token.Count() == 0 || finished_) return;
  // Text that keeps its case is appended straight from the token.
  const int transform = props.GetTextTransform();
  std::u16string transformed;
  if (transform == 1) transformed = WideUpperCase(token.Characters);
  else if (transform == 2) transformed = WideLowerCase(token.Characters);
  const std::u16string& text = transform == 1 || transform == 2 ? transformed : token.Characters;
  const char flag = noBreak || preformatted_ ? kBreakNo : kBreakYes;
  const std::string* variant = TextValue(props, Prop::FontVariant);
  if (!variant || *variant != "small-caps") {
    AppendCharacters(text, token.Positions.data(), flag);
    return;
  }
  // Small caps: upper-cased text; letters that upper-casing changes are drawn
  // in a smaller font, switching runs only where the kind of letter changes.
  const std::u16string upper = WideUpperCase(text);
  std::unique_ptr<TProperties> small;
  bool inSmall = false;
  for (std::size_t i = 0; i < upper.size(); ++i) {
    const char16_t ch = text[i];
    const bool lowered = ch != kSpaceChar && !(ch >= u'0' && ch <= u'9') && upper[i] != ch;
    const bool unchanged = upper[i] == ch && ch != kSpaceChar && !(ch >= u'0' && ch <= u'9');
    if (lowered && !inSmall) {
      if (!small) small = SmallCapsProperties(props);
      ChangeFont(*small);
      inSmall = true;
    } else if (unchanged && inSmall) {
      ChangeFont(props);
      inSmall = false;
    }
    AppendCharacters(std::u16string_view(&upper[i], 1), &token.Positions[i], flag);
  }
  if (inSmall) ChangeFont(props);
}

void TSection::AllowBreakAfterLast() {
  if (!BreakFlags.empty() && !finished_) SetBreakFlag(static_cast<int>(BreakFlags.size()) - 1, kBreakAfter);
}

// Starts a run at the current end (or changes the run that already starts
// there). change: 0 keeps the link state of the run before, '>' makes the run
// a link to target, '<' ends the link.
void TSection::StartRun(TProperties& props, bool linkState, const TUrlTarget* target) {
  TFontObj* last = Fonts.Last();
  TFontObj* run = last;
  if (last && last->Pos == Len) {
    // The run is still empty: it takes the new look in place of its own font.
    // At the run's own pixels per inch when they agree with the font's, else at the screen's.
    const int fontPixelsPerInch = ElementFont(props).PixelsPerInch();
    run->ReplaceFont(props.SharedFont(run->Font->PixelsPerInch() == fontPixelsPerInch ? fontPixelsPerInch
                                                                                       : win::screenPixelsPerInch()));
  } else {
    run = Fonts.Emplace(this, Len, props.SharedFont());
    // A given target replaces the one carried over just below; a run without a
    // link side has only the empty target to carry over, which a new run has.
    if (last && !target && last->HasLinkPart()) run->SetUrlTarget(last->UrlTarget());
  }
  run->SetTitle(props.PropTitle);
  run->VerticalShift = VerticalShiftOf(props);
  // Most runs are in no link list: only those in one are asked to leave it.
  if (target) {
    if (run->Links()) run->LeaveLinks(nullptr);
    run->SetUrlTarget(*target);
    run->Visited = run->Hover = false;
  }
  const bool makeLink = target ? linkState : run->IsLink();
  if (!makeLink) {
    // NOTE: a run that stops being a link leaves the link list with its tab
    // stop, so that no plain run is ever given link looks.
    if (run->Links()) run->LeaveLinks(nullptr);
    run->SetLinkLooks(nullptr);
    return;
  }
  if (run->UrlTarget().Url.empty()) return;
  if (props.LinkFonts) {
    run->SetLinkLooks(SharedLinkLooks(*props.LinkFonts));
    if (run->LinkLooks()->Ar[TFontInfoArray::Normal]) run->ApplyFontInfo(*run->LinkLooks()->Ar[TFontInfoArray::Normal]);
  }
  if (TLinkList* links = DocumentLinks()) {
    if (links->IsVisited && !run->Links()) run->SetVisited(links->IsVisited(run->UrlTarget().Url));
    run->JoinLinks(*links);
  }
}

void TSection::ChangeFont(TProperties& props) {
  if (!finished_) StartRun(props, false, nullptr);
}

void TSection::ChangeFontForLink(char kind, TProperties& props, const TUrlTarget& target) {
  if (!finished_) StartRun(props, kind == '>', &target);
}

TInlineObject* TSection::AppendObject(std::unique_ptr<TInlineObject> object, int sourcePos) {
  if (!object || finished_) return nullptr;
  object->Pos = Len;
  const char16_t placeholder = object->ObjectKind == TInlineObject::Kind::Control ? kControlChar : kImageChar;
  TInlineObject* added = object.get();
  ObjectLists& objects = Objects();
  if (placeholder == kControlChar) {
    objects.Controls.push_back(added);
    objects.OwnedControls.push_back(std::move(object));
  } else {
    objects.Images.push_back(std::move(object));
  }
  const int position = sourcePos;
  AppendCharacters(std::u16string_view(&placeholder, 1), &position, preformatted_ ? kBreakNo : kBreakYes);
  return added;
}

TInlineObject* TSection::ObjectAt(int index) const {
  const auto byPos = [](const TInlineObject* object, int pos) { return object->Pos < pos; };
  if (index < 0 || index >= Len || !objects_) return nullptr;
  if (Text[static_cast<std::size_t>(index)] == kImageChar) {
    const auto& images = objects_->Images;
    auto it = std::lower_bound(images.begin(), images.end(), index,
                               [&](const auto& object, int pos) { return byPos(object.get(), pos); });
    return it != images.end() && (*it)->Pos == index ? it->get() : nullptr;
  }
  if (Text[static_cast<std::size_t>(index)] == kControlChar) {
    const auto& controls = objects_->Controls;
    auto it = std::lower_bound(controls.begin(), controls.end(), index, byPos);
    return it != controls.end() && (*it)->Pos == index ? *it : nullptr;
  }
  return nullptr;
}

void TSection::RemapObjects(const PositionMap& map) {
  const int last = static_cast<int>(map.size()) - 1;
  for (const auto& object : ImageObjs()) object->Pos = map[static_cast<std::size_t>(std::clamp(object->Pos, 0, last))];
  for (TInlineObject* control : FormControls()) control->Pos = map[static_cast<std::size_t>(std::clamp(control->Pos, 0, last))];
  Fonts.Remap(map);
}

void TSection::CollapseWhiteSpace(int sourcePos) {
  if (finished_) return;
  BuildBuffers& built = Building();
  SectionChars chars{std::move(built.Text), std::move(built.Flags), std::move(built.Positions)};
  // Placeholders of floating objects, looked up by old position in one pass
  // (most sections hold no images and need no table).
  const auto& images = ImageObjs();
  std::vector<char> floating(images.empty() ? 0 : chars.Text.size(), 0);
  for (const auto& object : images)
    if (object->Pos >= 0 && object->Pos < static_cast<int>(floating.size()) && object->Floats())
      floating[static_cast<std::size_t>(object->Pos)] = 1;
  const PositionMap map = CollapseSectionWhiteSpace(
      chars,
      [&floating](int oldIndex) {
        const auto at = static_cast<std::size_t>(oldIndex);
        return at < floating.size() && floating[at] != 0;
      },
      sourcePos);
  built.Text = std::move(chars.Text);
  built.Flags = std::move(chars.Flags);
  built.Positions = std::move(chars.SourcePositions);
  ShowBuildText();
  RemapObjects(map);
  FinishText();
}

void TSection::FinishText() {
  Fonts.Settle();
  BuildBuffers& built = Building();
  Len = static_cast<int>(built.Text.size());
  built.Flags.resize(static_cast<std::size_t>(Len), kBreakYes);
  built.Flags.push_back(kBreakYes);
  longestStretch_ =
      LongestStretchBetweenBreakableSpaces(built.Text.data(), built.Flags.data(), static_cast<std::size_t>(Len));
  // The section keeps exact copies; the borrowed room serves the next one.
  KeepInPiece(built.Text, built.Flags, BuildSourceIndex());
  ReturnBuildBuffers(std::move(building_));
  if (Len > 0 && Document) SectionNumber = ++Document->TextSectionCount;
  finished_ = true;
}

namespace {

// Whether source[at + k] == source[at + k - 1] + 1 for k = 0..3 (at >= 1);
// differences wrap rather than overflow at the int limits.
bool FourFollowOn(const int* source, std::size_t at) {
#if defined(__SSE2__)
  const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + at));
  const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + at - 1));
  return _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_sub_epi32(here, before), _mm_set1_epi32(1))) == 0xFFFF;
#else
  unsigned gaps = 0;
  for (std::size_t k = at; k < at + 4; ++k)
    gaps |= static_cast<unsigned>(source[k]) - static_cast<unsigned>(source[k - 1]) - 1u;
  return gaps == 0;
#endif
}

}  // namespace

// One entry where the source positions stop running on one by one.
std::span<const IndexObj> TSection::BuildSourceIndex() const {
  std::vector<IndexObj>& index = scratchIndex;
  index.clear();
  if (!building_) return {};
  const std::size_t count = std::min(static_cast<std::size_t>(Len), building_->Positions.size());
  if (count == 0) return {};
  const int* source = building_->Positions.data();
  const auto add = [&](std::size_t at) { index.push_back({static_cast<int>(at), source[at]}); };
  add(0);
  std::size_t i = 1;
  while (i < count) {
    // Runs are long: test four steps at a time.
    while (i + 4 <= count && FourFollowOn(source, i)) i += 4;
    for (const std::size_t stop = std::min(i + 4, count); i < stop; ++i)
      if (static_cast<unsigned>(source[i]) != static_cast<unsigned>(source[i - 1]) + 1u) add(i);
  }
  return index;
}

bool TSection::FinishForCell(int sourcePos) {
  CollapseWhiteSpace(sourcePos);
  if (preformatted_ || Len > 0 || KeepWhenEmpty || AnchorName || ClearKind != 0) return true;
  Unregister();
  return false;
}

}  // namespace engine
