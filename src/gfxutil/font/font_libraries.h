// FreeType and Fontconfig, opened on their first call (see lazy_library.h):
// only pictures and windows draw text.
#pragma once
#include <fontconfig/fontconfig.h>
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

#define VDL_FONTCONFIG_FUNCTIONS(X) \
  X(FcConfigDestroy) \
  X(FcConfigSubstitute) \
  X(FcDefaultSubstitute) \
  X(FcFontMatch) \
  X(FcInitLoadConfigAndFonts) \
  X(FcLangSetHasLang) \
  X(FcPatternAddBool) \
  X(FcPatternAddInteger) \
  X(FcPatternAddString) \
  X(FcPatternCreate) \
  X(FcPatternDestroy) \
  X(FcPatternGetInteger) \
  X(FcPatternGetLangSet) \
  X(FcPatternGetString) \
  X(FcWeightFromOpenType)

struct FontconfigLibrary {
  VDL_FONTCONFIG_FUNCTIONS(VDL_LIBRARY_POINTER)
};

const FontconfigLibrary& Fontconfig();
