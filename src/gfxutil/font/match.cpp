#include "gfxutil/font/match.h"

#include <fontconfig/fontconfig.h>

#include <cstring>

#include "platform/os/text_encoding.h"

namespace {

const char* LanguageOf(BYTE charSet) { return charSet == SHIFTJIS_CHARSET ? "ja" : nullptr; }

bool CoversLanguage(FcPattern* font, const char* language) {
  FcLangSet* languages = nullptr;
  if (FcPatternGetLangSet(font, FC_LANG, 0, &languages) != FcResultMatch) return false;
  return FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>(language)) != FcLangDifferentLang;
}

FcPattern* RequestPattern(FcConfig* config, const LOGFONTA& logFont, const char* language) {
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return nullptr;
  std::string family = DisplayText(std::string_view(logFont.lfFaceName, strnlen(logFont.lfFaceName, LF_FACESIZE)));
  if (!family.empty()) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  if (language) FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(language));
  int weight = logFont.lfWeight > 0 ? logFont.lfWeight : FW_NORMAL;
  FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern, FC_SLANT, logFont.lfItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  return pattern;
}

FontFileMatch MatchWithConfig(FcConfig* config, const LOGFONTA& logFont) {
  FontFileMatch match;
  const char* language = LanguageOf(logFont.lfCharSet);
  FcPattern* pattern = RequestPattern(config, logFont, language);
  if (!pattern) return match;
  FcResult result = FcResultNoMatch;
  FcPattern* font = FcFontMatch(config, pattern, &result);
  FcPatternDestroy(pattern);
  if (!font) return match;
  FcChar8* file = nullptr;
  if (FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch && (!language || CoversLanguage(font, language))) {
    match.path = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(font, FC_INDEX, 0, &match.faceIndex);
  }
  FcPatternDestroy(font);
  return match;
}

}  // namespace

FontFileMatch MatchFontFile(const LOGFONTA& logFont) {
  // A configuration of our own, destroyed after the match: fontconfig's
  // process-wide one would stay allocated until the process ends. Fonts are
  // matched only when a font is created, so loading it each time costs little.
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) return {};
  FontFileMatch match = MatchWithConfig(config, logFont);
  FcConfigDestroy(config);
  return match;
}
