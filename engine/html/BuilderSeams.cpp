#include "engine/html/BuilderSeams.h"

namespace engine {

TBuilderSeams& BuilderSeams() {
  static TBuilderSeams seams;
  return seams;
}

}  // namespace engine
