# Picture measurements for the end-to-end tests, with ImageMagick. Regions are
# ImageMagick geometries: WIDTHxHEIGHT+X+Y in client pixels.
# shellcheck shell=bash

# Regions of the 640 x 480 picture: the model, the info block at the lower
# left, the day/night and filter lines at the upper right.
MODEL_AREA="400x300+120+90"
INFO_AREA="260x80+0+400"
SWITCH_AREA="180x34+460+0"

# window_picture <name>: $SHOTS/<name>.png of $WINDOW without the frame rate.
window_picture() {
  screenshot "$WINDOW" "$1.raw"
  without_fps "$SHOTS/$1.raw.png" "$SHOTS/$1.png"
}

# The frame-rate text changes from frame to frame; it is painted over before comparing.
without_fps() {
  convert "$1" -fill black -draw "rectangle 0,0 110,22" "$2"
}

# lit_pixels <image> <region>: pixels brighter than a dark grey.
lit_pixels() {
  convert "$1" -crop "$2" +repage -colorspace Gray -threshold 12% -format "%[fx:round(mean*w*h)]\n" info:
}

# mean_level <image> <region>: mean grey level, 0 to 1.
mean_level() {
  convert "$1" -crop "$2" +repage -colorspace Gray -format "%[fx:mean]\n" info:
}

# differing_pixels <a> <b> [region]: pixels whose colours differ by more than 6%.
differing_pixels() {
  local region="${3:-640x480+0+0}" a b
  a="$(mktemp --suffix=.png)" b="$(mktemp --suffix=.png)"
  convert "$1" -crop "$region" +repage "$a"
  convert "$2" -crop "$region" +repage "$b"
  # compare's status is 1 when the pictures differ; the count goes to stderr
  { compare -metric AE -fuzz 6% "$a" "$b" null: 2>&1 || true; } | awk '{print int($1)}'
  rm -f "$a" "$b"
}

# warm_pixels <image>: pixels in the warm orange of lit windows at night (red well above blue):
# r > 0.35, r - b > 0.2 and g > r / 2, each a mask of its own, multiplied.
# Channel arithmetic rather than -fx, which takes a minute a picture on a busy machine.
warm_pixels() {
  convert "$1" -alpha off \
    \( -clone 0 -separate -delete 1,2 -threshold 35% \) \
    \( -clone 0 -separate -delete 1 -poly "1,1 -1,1" -threshold 20% \) \
    \( -clone 0 -separate -delete 2 -reverse -poly "1,1 -0.5,1" -threshold 0 \) \
    -delete 0 -evaluate-sequence multiply -format "%[fx:round(mean*w*h)]\n" info:
}

# differing_pixels_not_rail <a> <b>: pixels that differ between the two
# pictures (channel differences summing to more than 0.18) where neither shows
# a rail colour (red or magenta: red more than 0.08 above green).
differing_pixels_not_rail() {
  convert "$1" "$2" -alpha off \
    \( -clone 0,1 -compose difference -composite -separate -evaluate-sequence add -threshold 18% \) \
    \( -clone 0 -separate -delete 2 -poly "1,1 -1,1" -threshold 8% -negate \) \
    \( -clone 1 -separate -delete 2 -poly "1,1 -1,1" -threshold 8% -negate \) \
    -delete 0,1 -evaluate-sequence multiply -format "%[fx:round(mean*w*h)]\n" info:
}

greater() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
