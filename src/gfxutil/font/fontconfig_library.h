// Fontconfig, opened on its first call (see lazy_library.h): only pictures and windows draw text.
#pragma once
#include <fontconfig/fontconfig.h>

#include "platform/os/lazy_library.h"

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
