#!/bin/sh
# Draws normcalc's application icon: the standard normal density with the area
# from 0 to X shaded, the quantity the calculator converts. One list of shapes
# on a 32 x 32 grid makes both files, so they cannot drift apart:
#   normcalc.svg     the scalable icon (desktop entry, packaging)
#   normcalc-32.png  the 32 x 32 bitmap with a 16-colour palette (the window)
# Needs ImageMagick (Debian's imagemagick). Run: sh ui/icons/make_icons.sh
set -eu
cd "$(dirname "$0")"

# The density 19 * exp(-t^2 / 2), t = (x - 16) / 4.6, sampled every half pixel
# above the baseline y = 26 (x from 2 to 30; the peak at x = 16, y = 7).
curve="M2,25.81 2.5,25.74 3,25.65 3.5,25.53 4,25.37 4.5,25.17 5,24.91 5.5,24.6 6,24.21
 6.5,23.75 7,23.2 7.5,22.55 8,21.81 8.5,20.97 9,20.03 9.5,19 10,17.88 10.5,16.7 11,15.48
 11.5,14.23 12,12.98 12.5,11.78 13,10.64 13.5,9.61 14,8.71 14.5,7.98 15,7.44 15.5,7.11
 16,7 16.5,7.11 17,7.44 17.5,7.98 18,8.71 18.5,9.61 19,10.64 19.5,11.78 20,12.98
 20.5,14.23 21,15.48 21.5,16.7 22,17.88 22.5,19 23,20.03 23.5,20.97 24,21.81 24.5,22.55
 25,23.2 25.5,23.75 26,24.21 26.5,24.6 27,24.91 27.5,25.17 28,25.37 28.5,25.53 29,25.65
 29.5,25.74 30,25.81"
# The area P between 0 (x = 16) and X (x = 22).
area="M16,26 L16,7 16.5,7.11 17,7.44 17.5,7.98 18,8.71 18.5,9.61 19,10.64 19.5,11.78
 20,12.98 20.5,14.23 21,15.48 21.5,16.7 22,17.88 L22,26 Z"

paper="#f4ecc8" frame="#404040" shade="#3a6ad4" ink="#102060" axis="#000000" mark="#c02020"

cat > normcalc.svg <<SVG
<?xml version="1.0" encoding="UTF-8"?>
<!-- Made by make_icons.sh beside this file; edit that, not this. -->
<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">
  <rect x="0.5" y="0.5" width="31" height="31" rx="3" fill="$paper" stroke="$frame"/>
  <path fill="$shade" d="$area"/>
  <path fill="none" stroke="$ink" stroke-width="1.5" stroke-linejoin="round" d="$curve"/>
  <path fill="none" stroke="$axis" d="M2,26.5 H30 M16.5,26.5 V29"/>
  <path fill="none" stroke="$mark" d="M22.5,26.5 V29"/>
</svg>
SVG

convert -size 32x32 xc:none \
  -fill "$paper" -stroke "$frame" -strokewidth 1 -draw "roundrectangle 0.5,0.5 31.5,31.5 3,3" \
  -fill "$shade" -stroke none -draw "path '$area'" \
  -fill none -stroke "$ink" -strokewidth 1.5 -draw "path '$curve'" \
  -stroke "$axis" -strokewidth 1 -draw "line 2,26.5 30,26.5" -draw "line 16.5,26.5 16.5,29" \
  -stroke "$mark" -draw "line 22.5,26.5 22.5,29" \
  -dither None -colors 16 \
  -define png:color-type=3 -define png:bit-depth=4 \
  normcalc-32.png
