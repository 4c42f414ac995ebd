#include "gfxutil/font/fontconfig_library.h"

VDL_LAZY_LIBRARY(FontconfigLibrary, Fontconfig, "libfontconfig.so.1", VDL_FONTCONFIG_FUNCTIONS)
