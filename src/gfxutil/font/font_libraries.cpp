#include "gfxutil/font/font_libraries.h"

VDL_LAZY_LIBRARY(FreeTypeLibrary, FreeType, "libfreetype.so.6", VDL_FREETYPE_FUNCTIONS)
VDL_LAZY_LIBRARY(FontconfigLibrary, Fontconfig, "libfontconfig.so.1", VDL_FONTCONFIG_FUNCTIONS)
