#pragma once
// TTablePartRec: how far a printed table has got across pages. The table
// writes it while it paints; the printer reads it between pages to place the
// repeated header and footer bands.
#include <cstdint>

namespace engine {

struct TTablePartRec {
  // 0 whole table (or finished), 1 draw the header rows, 2 continue the body
  // after a repeated header, 3 continue the body (the printer's variant), 4
  // footer done with no header to repeat, 5 draw the footer rows.
  std::uint8_t PartType = 0;
  int PartStart = 0;   // document Y of the next band, or where the body resumes
  int PartHeight = 0;  // height of that band
  int FootHeight = 0;  // room the printer keeps for the footer on the next page
};

}  // namespace engine
