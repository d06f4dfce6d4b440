#include "application_title.h"

namespace normcalc {

QString ApplicationTitleFromPath(const QString& executablePath) {
  const QString fileName = executablePath.mid(executablePath.lastIndexOf('/') + 1);
  const QString name = fileName.left(fileName.indexOf('.'));  // whole name when there is no "."
  if (name.isEmpty()) return name;
  // The first character keeps its case; a character outside the BMP is two
  // UTF-16 units and stays whole.
  const qsizetype firstLength = name.front().isHighSurrogate() && name.size() > 1 ? 2 : 1;
  return name.left(firstLength) + name.mid(firstLength).toLower();
}

}  // namespace normcalc
