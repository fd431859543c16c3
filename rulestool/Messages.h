#pragma once

#include <ostream>
#include <string>

namespace kestrane {

// Writes one message line to the error stream and flushes it at once.
inline void Message(std::ostream& err, const std::string& line) {
  err << line << '\n';
  err.flush();
}

}  // namespace kestrane
