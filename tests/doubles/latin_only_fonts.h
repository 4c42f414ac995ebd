// A fontconfig configuration of the test's own that offers only the DejaVu
// faces, so no installed face covers Japanese. In force while the object lives:
// fontconfig reads FONTCONFIG_FILE each time a font is matched.
#pragma once
#include <string>

class LatinOnlyFonts {
 public:
  LatinOnlyFonts();   // writes the configuration and points FONTCONFIG_FILE at it
  ~LatinOnlyFonts();  // restores FONTCONFIG_FILE and removes the configuration
  LatinOnlyFonts(const LatinOnlyFonts&) = delete;
  LatinOnlyFonts& operator=(const LatinOnlyFonts&) = delete;

 private:
  std::string directory_;
  std::string previous_;
  bool hadPrevious_ = false;
};
