// The faces the form's described face falls back to.
#pragma once

class QString;

namespace normcalc {

// Makes Qt draw the described face with IPAPGothic when the face itself is
// missing (Debian's fonts-ipafont-gothic, drawn to the same metrics), then with
// another of the common Japanese faces; when none of them is installed
// either, fontconfig's fallback supplies any face that has the glyphs.
void SubstituteDescribedFace(const QString& face);

}  // namespace normcalc
