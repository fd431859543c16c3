// TPropText's store of recently made texts.
#include "engine/css/TPropText.h"

#include <array>

namespace engine {

TPropText::Rep* TPropText::Made(std::string_view text) {
  // Short texts only, a slot per summary of length and three letters; a slot holds
  // one count of its text, so what it keeps is small and freed when replaced.
  constexpr std::size_t kMaxKeptLength = 64;
  struct Recent {
    std::array<Rep*, 64> slots{};
    ~Recent() {
      for (Rep* rep : slots) {
        if (rep && --rep->count == 0) delete rep;
      }
    }
  };
  if (text.empty() || text.size() > kMaxKeptLength) return new Rep{1, std::string(text)};
  thread_local Recent recent;
  const std::size_t summary = text.size() ^ std::size_t{static_cast<unsigned char>(text.front())} << 8 ^
                              std::size_t{static_cast<unsigned char>(text[text.size() / 2])} << 16 ^
                              std::size_t{static_cast<unsigned char>(text.back())} << 24;
  Rep*& slot = recent.slots[(summary * 0x9E3779B97F4A7C15ull) >> 58];
  if (slot && slot->text == text) {
    ++slot->count;
    return slot;
  }
  if (slot && --slot->count == 0) delete slot;
  slot = new Rep{2, std::string(text)};  // the slot's count and the caller's
  return slot;
}

}  // namespace engine
