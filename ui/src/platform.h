// The platform seam: what the shell needs from the operating system beyond
// what Qt offers alike everywhere. One implementation per platform.
#pragma once

#include <QString>

namespace normcalc {

// How the desktop asks the first window to appear.
enum class TShowCommand { Normal, Maximized, Minimized };

// The show command the process was started with.
TShowCommand StartupShowCommand();

// The full path of the running executable, the source of the title rule.
QString ExecutableFilePath();

}  // namespace normcalc
