// normcalc: the calculator window for the standard normal distribution.
#include "main_routine.h"
#include "tapplication.h"
#include "tform1.h"

int main(int argc, char* argv[]) {
  // No floating-point control word is loaded here: every computation of the
  // calculator goes through the software Extended type, which always rounds
  // to 64 significant bits, to nearest, ties to even, and raises on invalid
  // operation, zero divide and overflow only, as the x87 unit does under the
  // control word 0x1332; the hardware's own state plays no part in it.
  normcalc::TApplication application(argc, argv);
  return normcalc::RunMainRoutine<normcalc::TForm1>(application);
}
