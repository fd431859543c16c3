#pragma once
// TColObj: one COL or COLGROUP description of a table, kept until the table
// builds its grid and gives the widths to the cells of that column.
#include <string>

namespace engine {

struct TColObj {
  int Width = 0;  // pixels, or tenths of a percent with AsPercent; 0 none
  bool AsPercent = false;
  int VertAlign = 0;
  std::string Align;
};

}  // namespace engine
