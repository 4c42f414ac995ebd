#include "gfxutil/font/freetype_library.h"

VDL_LAZY_LIBRARY(FreeTypeLibrary, FreeType, "libfreetype.so.6", VDL_FREETYPE_FUNCTIONS)
