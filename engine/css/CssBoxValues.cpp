#include "engine/css/CssBoxValues.h"

#include <string>
#include <vector>

#include "engine/css/CssText.h"
#include "engine/css/CssValues.h"

namespace engine {
namespace {

constexpr std::size_t kTopStyle = BoxIndex(Prop::BorderTopStyle);
constexpr int kPercentX = 5;
constexpr int kLengthKind = 6;

// A length value: text by its units, a number as pixels, unset or unassigned as fallback.
int LengthOf(const TPropValue& value, double base, int defaultValue, int unsetValue, int em, int ex) {
  if (const std::string* text = TextOf(value)) {
    return LengthFromString(*text, false, base, defaultValue, em, ex);
  }
  if (const int* number = std::get_if<int>(&value)) return *number == kUnsetValue ? unsetValue : *number;
  if (const double* number = std::get_if<double>(&value)) return RoundToInt(*number);
  return unsetValue;
}

bool IsText(const TPropValue& value, const char* word) {
  const std::string* text = TextOf(value);
  return text && *text == word;
}

bool IsPercent(const TPropValue& value) {
  const std::string* text = TextOf(value);
  return text && text->find('%') != std::string::npos;
}

int HorizontalMargin(const TPropValue& value, int width, int em, int ex, int& autoCount) {
  if (IsText(value, "auto")) {
    ++autoCount;
    return kAutoValue;
  }
  return LengthOf(value, width, 0, 0, em, ex);
}

int VerticalMargin(const TPropValue& value, int width, int em, int ex, bool& collapse) {
  if (const int* number = std::get_if<int>(&value); number && *number == kParagraphSpace) {
    collapse = true;
    return kParagraphSpacePixels;
  }
  return LengthOf(value, width, 0, 0, em, ex);
}

int BorderWidth(const TVMarginArray& margins, std::size_t side, int em, int ex) {
  const TPropValue& style = margins[kTopStyle + side];
  const int* styleNumber = std::get_if<int>(&style);
  if (!styleNumber || *styleNumber == 0) return 0;
  const TPropValue& value = margins[BoxIndex(Prop::BorderTopWidth) + side];
  if (IsText(value, "thin")) return 2;
  if (IsText(value, "medium")) return 4;
  if (IsText(value, "thick")) return 6;
  return LengthOf(value, 0, 4, 4, em, ex);
}

void ComputeMarginsBordersSizes(const TVMarginArray& margins, int width, int height, int em, int ex,
                                TBoxResult& result) {
  TBoxValues& out = result.Values;
  out[BoxIndex(Prop::MarginTop)] = VerticalMargin(margins[BoxIndex(Prop::MarginTop)], width, em, ex, result.CollapseMargin);
  out[BoxIndex(Prop::MarginBottom)] =
      VerticalMargin(margins[BoxIndex(Prop::MarginBottom)], width, em, ex, result.CollapseMargin);
  out[BoxIndex(Prop::MarginRight)] = HorizontalMargin(margins[BoxIndex(Prop::MarginRight)], width, em, ex, result.AutoCount);
  out[BoxIndex(Prop::MarginLeft)] = HorizontalMargin(margins[BoxIndex(Prop::MarginLeft)], width, em, ex, result.AutoCount);
  for (std::size_t side = 0; side < 4; ++side)
    out[BoxIndex(Prop::BorderTopWidth) + side] = BorderWidth(margins, side, em, ex);
  const TPropValue& widthValue = margins[BoxIndex(Prop::Width)];
  out[BoxIndex(Prop::Width)] = LengthOf(widthValue, width, kAutoValue, kAutoValue, em, ex);
  if (out[BoxIndex(Prop::Width)] == kAutoValue) ++result.AutoCount;
  const TPropValue& heightValue = margins[BoxIndex(Prop::Height)];
  int boxHeight = LengthOf(heightValue, height, 0, 0, em, ex);
  if (IsPercent(heightValue)) {
    // A percentage height is the whole box; the content gets what paddings and borders leave.
    boxHeight -= LengthOf(margins[BoxIndex(Prop::PaddingTop)], width, 0, 0, em, ex) +
                 LengthOf(margins[BoxIndex(Prop::PaddingBottom)], width, 0, 0, em, ex) +
                 out[BoxIndex(Prop::BorderTopWidth)] + out[BoxIndex(Prop::BorderBottomWidth)];
    if (boxHeight < 0) boxHeight = 0;
  }
  out[BoxIndex(Prop::Height)] = boxHeight;
}

}  // namespace

void GetMarginArray(const TProperties& properties, TVMarginArray& margins) {
  for (int index = 0; index < kMarginArraySize; ++index)
    margins[static_cast<std::size_t>(index)] = properties.Props[static_cast<std::size_t>(kFirstMarginProp + index)];
  for (std::size_t side = 0; side < 4; ++side) margins[kTopStyle + side] = BorderSideStyle(margins[kTopStyle + side]);
}

int BorderSideStyle(const TPropValue& value) {
  const std::string* text = TextOf(value);
  return text ? BorderStyleFromString(*text) : 0;
}

TBoxResult ComputeBoxValues(const TVMarginArray& margins, int containingWidth, int containingHeight, int em, int ex) {
  TBoxResult result;
  TBoxValues& out = result.Values;
  for (std::size_t index = 0; index < kMarginArraySize; ++index) out[index] = 0;
  for (Prop colour : {Prop::BackgroundColor, Prop::BorderColor, Prop::BorderTopColor, Prop::BorderRightColor,
                      Prop::BorderBottomColor, Prop::BorderLeftColor}) {
    const int* number = std::get_if<int>(&margins[BoxIndex(colour)]);
    out[BoxIndex(colour)] = number ? *number : static_cast<int>(kNoColor);
  }
  for (std::size_t side = 0; side < 4; ++side) {
    const int* style = std::get_if<int>(&margins[kTopStyle + side]);
    out[kTopStyle + side] = style ? *style : 0;
  }
  for (Prop padding : {Prop::PaddingTop, Prop::PaddingRight, Prop::PaddingBottom, Prop::PaddingLeft})
    out[BoxIndex(padding)] = LengthOf(margins[BoxIndex(padding)], containingWidth, 0, 0, em, ex);
  ComputeMarginsBordersSizes(margins, containingWidth, containingHeight, em, ex, result);
  out[BoxIndex(Prop::Top)] = LengthOf(margins[BoxIndex(Prop::Top)], containingHeight, kAutoValue, kAutoValue, em, ex);
  for (Prop offset : {Prop::Bottom, Prop::Right, Prop::Left})
    out[BoxIndex(offset)] = LengthOf(margins[BoxIndex(offset)], containingWidth, kAutoValue, kAutoValue, em, ex);
  return result;
}

TBoxValues ComputePaddings(const TVMarginArray& margins, int em, int ex) {
  TBoxValues out{};
  for (Prop padding : {Prop::PaddingTop, Prop::PaddingRight, Prop::PaddingBottom, Prop::PaddingLeft})
    out[BoxIndex(padding)] = LengthOf(margins[BoxIndex(padding)], -100, 0, -1, em, ex);
  return out;
}

TBoxResult ComputeMarginsAndSizes(const TVMarginArray& margins, int containingWidth, int containingHeight, int em,
                                  int ex) {
  TBoxResult result;
  ComputeMarginsBordersSizes(margins, containingWidth, containingHeight, em, ex, result);
  return result;
}

TBackgroundPosition GetBackgroundPos(const TProperties& properties, int em, int ex) {
  TBackgroundPosition result;
  const std::string* text = TextOf(properties.Value(Prop::BackgroundPosition));
  if (text) {
    std::string trimmed = Trim(*text);
    std::size_t blank = trimmed.find(' ');
    std::vector<std::string> words = {trimmed.substr(0, blank)};
    if (blank != std::string::npos) words.push_back(Trim(trimmed.substr(blank + 1)));
    TBackgroundAxis* first = nullptr;
    for (std::size_t index = 0; index < words.size(); ++index) {
      const std::string& word = words[index];
      bool horizontal = word == "left" || word == "right";
      bool vertical = word == "top" || word == "bottom";
      TBackgroundAxis* axis = index == 0 ? &result.X : (first == &result.X ? &result.Y : &result.X);
      if (vertical) axis = &result.Y;
      if (horizontal) {
        if (index == 1 && first == &result.X) result.Y = result.X;  // "30% left": the first word was y
        axis = &result.X;
      }
      axis->PosType = kLengthKind;
      if (word == "center") axis->PosType = 1;
      else if (word.find('%') != std::string::npos) axis->PosType = kPercentX;
      else if (word == "left") axis->PosType = 3;
      else if (word == "right") axis->PosType = 4;
      else if (word == "top") axis->PosType = 0;
      else if (word == "bottom") axis->PosType = 2;
      if (axis->PosType == kPercentX || axis->PosType == kLengthKind)
        axis->Value = LengthFromString(word, false, 100, 0, em, ex);
      if (index == 0) first = axis;
    }
    if (words.size() == 1) {
      TBackgroundAxis& other = first == &result.X ? result.Y : result.X;
      other.PosType = 1;
      other.Value = 0;
    }
  }
  const std::string* repeat = TextOf(properties.Value(Prop::BackgroundRepeat));
  if (repeat && *repeat == "no-repeat") result.X.RepeatD = result.Y.RepeatD = false;
  if (repeat && *repeat == "repeat-x") result.Y.RepeatD = false;
  if (repeat && *repeat == "repeat-y") result.X.RepeatD = false;
  const std::string* attachment = TextOf(properties.Value(Prop::BackgroundAttachment));
  if (attachment && *attachment == "fixed") result.X.Fixed = result.Y.Fixed = true;
  return result;
}

}  // namespace engine
