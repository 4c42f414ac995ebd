#include "latin_only_fonts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {
constexpr char kDejaVuDirectory[] = "/usr/share/fonts/truetype/dejavu";
}  // namespace

LatinOnlyFonts::LatinOnlyFonts() {
  char pattern[] = "/tmp/vdl_fonts_XXXXXX";
  if (!mkdtemp(pattern)) ADD_FAILURE() << "cannot make a directory for the font configuration";
  directory_ = pattern;
  std::ofstream(directory_ + "/fonts.conf") << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n"
                                            << "<fontconfig>\n  <dir>" << kDejaVuDirectory << "</dir>\n"
                                            << "  <cachedir>" << directory_ << "/cache</cachedir>\n</fontconfig>\n";
  if (const char* previous = std::getenv("FONTCONFIG_FILE")) {
    previous_ = previous;
    hadPrevious_ = true;
  }
  setenv("FONTCONFIG_FILE", (directory_ + "/fonts.conf").c_str(), 1);
}

LatinOnlyFonts::~LatinOnlyFonts() {
  if (hadPrevious_)
    setenv("FONTCONFIG_FILE", previous_.c_str(), 1);
  else
    unsetenv("FONTCONFIG_FILE");
  std::error_code error;
  std::filesystem::remove_all(directory_, error);
}
