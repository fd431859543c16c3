#include "engine/Properties.h"

namespace engine {

TProperties::TProperties() = default;
TProperties::~TProperties() = default;

}  // namespace engine
