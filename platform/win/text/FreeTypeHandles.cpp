#include "platform/win/text/FreeTypeHandles.h"

namespace win {
namespace {

struct FreeTypeLibraryDeleter {
  void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};

std::unique_ptr<FT_LibraryRec_, FreeTypeLibraryDeleter> startLibrary() {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return nullptr;
  return std::unique_ptr<FT_LibraryRec_, FreeTypeLibraryDeleter>(library);
}

}  // namespace

FT_Library freeTypeLibrary() {
  static const auto library = startLibrary();
  return library.get();
}

}  // namespace win
