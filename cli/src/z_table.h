// The z-table that textbooks print, from the calculator's own answers: P for
// z = 0.00 to 3.99, one row per tenth and one column per hundredth.
#pragma once

#include <string>

#include "options.h"

namespace normcalc::cli {

inline constexpr int kZTableRows = 40;     // 0.0 to 3.9
inline constexpr int kZTableColumns = 10;  // .00 to .09

// The text of z for a cell, with "." as the reader takes it: "1.96" for row 19,
// column 6. The cell's P is XToP of the double that this text reads as.
std::string ZTableCellText(int row, int column);

// The whole table in the given format, numbers written with mark. digits 0
// writes each P as x2p does; 1 to 15 rounds it to that many decimals for
// print, and the title says so.
std::string ZTable(TableFormat format, int digits, char mark);

}  // namespace normcalc::cli
