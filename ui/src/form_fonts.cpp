#include "form_fonts.h"

#include <QFont>
#include <QString>
#include <QStringList>

namespace normcalc {

void SubstituteDescribedFace(const QString& face) {
  // Named rather than searched for: listing every installed family to find the
  // Japanese ones costs more start-up time than the whole window.
  static const QStringList kJapaneseFaces = {
      "IPAPGothic", "IPAGothic", "VL PGothic", "TakaoPGothic", "Noto Sans CJK JP",
  };
  if (QFont::substitutes(face).isEmpty()) QFont::insertSubstitutions(face, kJapaneseFaces);
}

}  // namespace normcalc
