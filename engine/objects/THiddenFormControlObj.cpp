#include "engine/objects/THiddenFormControlObj.h"


namespace engine {

bool THiddenFormControlObj::GetSubmission(int index, std::string& text) {
  if (index != 0) return false;
  text = Name + "=" + Value;
  return true;
}

}  // namespace engine
