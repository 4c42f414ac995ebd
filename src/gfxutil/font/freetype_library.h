// FreeType, opened on its first call (see lazy_library.h): only pictures and windows draw text.
#pragma once
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include "platform/os/lazy_library.h"

#define VDL_FREETYPE_FUNCTIONS(X) \
  X(FT_Done_Face) \
  X(FT_Done_FreeType) \
  X(FT_Get_Sfnt_Table) \
  X(FT_Init_FreeType) \
  X(FT_Load_Char) \
  X(FT_MulFix) \
  X(FT_New_Face) \
  X(FT_Request_Size)

struct FreeTypeLibrary {
  VDL_FREETYPE_FUNCTIONS(VDL_LIBRARY_POINTER)
};

const FreeTypeLibrary& FreeType();
