#pragma once
// SelTextBuf: copies selected characters into a caller's buffer, dropping what
// does not fit and keeping one place for the terminating zero.
#include "engine/document/SelTextCount.h"

namespace engine {

class SelTextBuf : public SelTextCount {
 public:
  SelTextBuf(char16_t* buffer, int bufferLength);

  void Append(const char16_t* P, int Size) override;
  // Writes the terminator and answers the characters written with it; a
  // buffer without room (length < 1 or none) is left alone and the answer is 0.
  int Finish() override;
};

}  // namespace engine
