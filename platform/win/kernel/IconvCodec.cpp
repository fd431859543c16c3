#include "platform/win/kernel/IconvCodec.h"

#include <cerrno>
#include <iconv.h>

namespace win {
namespace {

const iconv_t kInvalid = reinterpret_cast<iconv_t>(-1);
constexpr std::size_t kFailed = static_cast<std::size_t>(-1);

void* openConverter(const char* to, const char* from) {
  const iconv_t cd = iconv_open(to, from);
  return cd == kInvalid ? nullptr : static_cast<void*>(cd);
}

void closeConverter(void* cd) {
  if (cd) iconv_close(static_cast<iconv_t>(cd));
}

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Output area of a growing string, tracked in bytes for iconv.
template <typename String>
class OutputCursor {
 public:
  using Unit = typename String::value_type;
  OutputCursor(String& out, std::size_t reserveUnits) : out_(out), written_(out.size()) {
    out_.resize(written_ + reserveUnits + 16);
  }
  ~OutputCursor() { out_.resize(written_); }
  char** next() {
    pointer_ = reinterpret_cast<char*>(out_.data() + written_);
    left_ = (out_.size() - written_) * sizeof(Unit);
    start_ = pointer_;
    return &pointer_;
  }
  std::size_t* left() { return &left_; }
  // Takes in what iconv wrote since next().
  void commit() { written_ += static_cast<std::size_t>(pointer_ - start_) / sizeof(Unit); }
  void grow() { out_.resize(out_.size() * 2 + 16); }
  void append(Unit unit) {
    if (written_ >= out_.size()) grow();
    out_[written_++] = unit;
  }

 private:
  String& out_;
  std::size_t written_;
  char* pointer_ = nullptr;
  char* start_ = nullptr;
  std::size_t left_ = 0;
};

// Runs the converter over all input, then once more without input to flush
// what it holds. onError(errno) deals with EILSEQ / EINVAL (moving past the
// bad input) and returns false to give up.
template <typename String, typename OnError>
bool convertAll(iconv_t cd, char*& in, std::size_t& inLeft, OutputCursor<String>& cursor, OnError onError) {
  bool flushing = inLeft == 0;
  while (true) {
    const std::size_t result = flushing ? iconv(cd, nullptr, nullptr, cursor.next(), cursor.left())
                                        : iconv(cd, &in, &inLeft, cursor.next(), cursor.left());
    const int error = errno;
    cursor.commit();
    if (result != kFailed) {
      if (flushing) return true;
      flushing = inLeft == 0;
      continue;
    }
    if (error == E2BIG) {
      cursor.grow();
      continue;
    }
    if (!onError(error)) return false;
    flushing = inLeft == 0;
  }
}

}  // namespace

IconvCodec::IconvCodec(const char* encoding)
    : decoder_(openConverter("UTF-16LE", encoding)), encoder_(openConverter(encoding, "UTF-16LE")) {}

IconvCodec::~IconvCodec() {
  closeConverter(decoder_);
  closeConverter(encoder_);
}

bool IconvCodec::valid() const { return decoder_ && encoder_; }

bool IconvCodec::decode(std::string_view src, InvalidInput invalid, char16_t replacement, std::u16string& out) {
  const auto cd = static_cast<iconv_t>(decoder_);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  OutputCursor<std::u16string> cursor(out, src.size());
  char* in = const_cast<char*>(src.data());
  std::size_t inLeft = src.size();
  return convertAll(cd, in, inLeft, cursor, [&](int error) {
    if (invalid == InvalidInput::Fail) return false;
    cursor.append(replacement);
    if (error == EILSEQ) {
      ++in;
      --inLeft;
    } else {
      inLeft = 0;  // EINVAL: a character cut off at the end
    }
    return true;
  });
}

bool IconvCodec::encode(std::u16string_view src, std::string_view defaultChar, BestFit bestFit, std::string& out) {
  const auto cd = static_cast<iconv_t>(encoder_);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  OutputCursor<std::string> cursor(out, src.size() * 2);
  char* in = reinterpret_cast<char*>(const_cast<char16_t*>(src.data()));
  std::size_t inLeft = src.size() * sizeof(char16_t);
  bool usedDefault = false;
  convertAll(cd, in, inLeft, cursor, [&](int error) {
    // Unmappable or unpaired: back to the initial shift state, then the best
    // fit or the default character in place of the whole character.
    while (iconv(cd, nullptr, nullptr, cursor.next(), cursor.left()) == kFailed && errno == E2BIG) {
      cursor.commit();
      cursor.grow();
    }
    cursor.commit();
    const std::size_t position = src.size() - inLeft / sizeof(char16_t);
    const char fit = error == EILSEQ && bestFit == BestFit::Use ? bestFitCharacter(src[position]) : 0;
    if (fit != 0) {
      cursor.append(fit);
    } else {
      usedDefault = true;
      for (const char c : defaultChar) cursor.append(c);
    }
    std::size_t skip = 1;
    if (position + 1 < src.size() && isHighSurrogate(src[position]) && isLowSurrogate(src[position + 1])) skip = 2;
    if (error == EINVAL) skip = inLeft / sizeof(char16_t);
    in += skip * sizeof(char16_t);
    inLeft -= skip * sizeof(char16_t);
    return true;
  });
  return usedDefault;
}

}  // namespace win
