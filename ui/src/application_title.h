// The title rule: the application's title comes from its executable's name.
#pragma once

#include <QString>

namespace normcalc {

// The part of executablePath after the last "/", cut at its first ".", with
// every character after the first in lower case: "/opt/CALC.EXE" gives "Calc",
// "calc.v2.exe" gives "calc".
QString ApplicationTitleFromPath(const QString& executablePath);

}  // namespace normcalc
