#pragma once
// TPropText: the text of a style property value, never changed once made and shared by
// every copy. Each element copies its parent's values, so a copy must cost a count, not
// a string; values copied from one another also compare by their shared storage first.
// Single-threaded like the rest of the document model: the count is a plain integer.
#include <cstddef>
#include <string>
#include <string_view>

namespace engine {

class TPropText {
 public:
  // Implicit: a value is assigned from a text wherever a text is given.
  TPropText(const std::string& text) : rep_(Made(text)) {}  // NOLINT
  TPropText(std::string_view text) : rep_(Made(text)) {}    // NOLINT
  TPropText(const char* text) : rep_(Made(text)) {}         // NOLINT
  TPropText(const TPropText& other) noexcept : rep_(other.rep_) { ++rep_->count; }
  TPropText& operator=(const TPropText& other) noexcept {
    ++other.rep_->count;  // before the release: other may be this text itself
    Release();
    rep_ = other.rep_;
    return *this;
  }
  ~TPropText() { Release(); }

  const std::string& Text() const { return rep_->text; }
  // Whether both are copies of one text (then they are equal without comparing).
  bool SharesWith(const TPropText& other) const { return rep_ == other.rep_; }

  friend bool operator==(const TPropText& a, const TPropText& b) {
    return a.rep_ == b.rep_ || a.rep_->text == b.rep_->text;
  }

 private:
  struct Rep {
    std::size_t count;
    std::string text;
  };
  // A text made recently from the same characters, shared, or a new one: values are
  // made again and again from the same attribute values and words ("30%", "Arial").
  static Rep* Made(std::string_view text);
  void Release() noexcept {
    if (--rep_->count == 0) delete rep_;
  }
  Rep* rep_;
};

}  // namespace engine
