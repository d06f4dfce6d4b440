// The calculator's own check values: what Execute writes into the other box
// for a text typed into one, with "." as the decimal mark. Every front end's
// tests hold it to these same rows.
#pragma once

namespace normcalc::test {

struct CheckValue {
  int itemIndex;        // RadioGroup1's ItemIndex: 0 for X->P, 1 for P->X
  const char* command;  // the command-line command for the same direction
  const char* typed;    // into Edit1 for X->P, Edit2 for P->X
  const char* written;  // what lands in the other box
};

inline constexpr int kXToPIndex = 0;
inline constexpr int kPToXIndex = 1;

constexpr CheckValue XToPRow(const char* typed, const char* written) {
  return {kXToPIndex, "x2p", typed, written};
}
constexpr CheckValue PToXRow(const char* typed, const char* written) {
  return {kPToXIndex, "p2x", typed, written};
}

inline constexpr CheckValue kCalculatorCheckValues[] = {
    XToPRow("", "0"),
    XToPRow("1", "0.341344279839592"),
    PToXRow("0.475", "1.95997183815153"),
    PToXRow("0.25", "0.674491219192245"),
    XToPRow("0.000001", "3.98892280401339E-7"),
    XToPRow("-2", "0"),                  // lower clamp
    PToXRow("0.5", "3.98466366361372"),  // upper clamp
    PToXRow("1", "3.98466366361372"),    // upper clamp
    XToPRow("abc", "0"),                 // no number reads as zero
    XToPRow("+INF", "0.49996719678728"),
    XToPRow("1e400", "0.49996719678728"),
    XToPRow("-INF", "0"),
    XToPRow("0.0114", "0.00454737199657526"),  // these three need extended
    XToPRow("0.74", "0.270349535532154"),      // interpolation; double gives
    PToXRow("0.0018", "0.00451249645189664"),  // one digit different
};

}  // namespace normcalc::test
