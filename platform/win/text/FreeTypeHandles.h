#pragma once
// Owning wrappers for FreeType objects. The library outlives every face: faces
// are created from freeTypeLibrary() and the library is never torn down before
// the face cache (both are function-local statics, the cache constructed last).
#include <memory>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H

namespace win {

struct FreeTypeFaceDeleter {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using FreeTypeFace = std::unique_ptr<FT_FaceRec_, FreeTypeFaceDeleter>;

struct FreeTypeSizeDeleter {
  void operator()(FT_Size size) const { FT_Done_Size(size); }
};
using FreeTypeSize = std::unique_ptr<FT_SizeRec_, FreeTypeSizeDeleter>;

// The process's FreeType library, or nullptr when it could not start.
FT_Library freeTypeLibrary();

}  // namespace win
