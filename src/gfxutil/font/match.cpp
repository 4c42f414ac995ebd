#include "gfxutil/font/match.h"

#include <fontconfig/fontconfig.h>

#include <cstring>

#include "gfxutil/font/font_libraries.h"
#include "gfxutil/load_notes.h"
#include "platform/os/text_encoding.h"

namespace {

struct Language {
  const char* code;  // fontconfig's
  const char* name;  // for the log
};

constexpr Language kJapanese{"ja", "Japanese"};

const Language* LanguageOf(BYTE charSet) { return charSet == SHIFTJIS_CHARSET ? &kJapanese : nullptr; }

bool CoversLanguage(FcPattern* font, const char* language) {
  FcLangSet* languages = nullptr;
  if (Fontconfig().FcPatternGetLangSet(font, FC_LANG, 0, &languages) != FcResultMatch) return false;
  return Fontconfig().FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>(language)) != FcLangDifferentLang;
}

FcPattern* RequestPattern(FcConfig* config, const LOGFONTA& logFont, const char* language) {
  FcPattern* pattern = Fontconfig().FcPatternCreate();
  if (!pattern) return nullptr;
  std::string family = DisplayText(std::string_view(logFont.lfFaceName, strnlen(logFont.lfFaceName, LF_FACESIZE)));
  if (!family.empty()) Fontconfig().FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  if (language) Fontconfig().FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(language));
  int weight = logFont.lfWeight > 0 ? logFont.lfWeight : FW_NORMAL;
  Fontconfig().FcPatternAddInteger(pattern, FC_WEIGHT, Fontconfig().FcWeightFromOpenType(weight));
  Fontconfig().FcPatternAddInteger(pattern, FC_SLANT, logFont.lfItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  Fontconfig().FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  Fontconfig().FcConfigSubstitute(config, pattern, FcMatchPattern);
  Fontconfig().FcDefaultSubstitute(pattern);
  return pattern;
}

// The best face for the request; with a language, only a face that covers it.
FontFileMatch BestFace(FcConfig* config, const LOGFONTA& logFont, const char* language) {
  FontFileMatch match;
  FcPattern* pattern = RequestPattern(config, logFont, language);
  if (!pattern) return match;
  FcResult result = FcResultNoMatch;
  FcPattern* font = Fontconfig().FcFontMatch(config, pattern, &result);
  Fontconfig().FcPatternDestroy(pattern);
  if (!font) return match;
  FcChar8* file = nullptr;
  if (Fontconfig().FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch && (!language || CoversLanguage(font, language))) {
    match.path = reinterpret_cast<const char*>(file);
    Fontconfig().FcPatternGetInteger(font, FC_INDEX, 0, &match.faceIndex);
    FcChar8* family = nullptr;
    if (Fontconfig().FcPatternGetString(font, FC_FAMILY, 0, &family) == FcResultMatch)
      match.family = reinterpret_cast<const char*>(family);
  }
  Fontconfig().FcPatternDestroy(font);
  return match;
}

FontFileMatch MatchWithConfig(FcConfig* config, const LOGFONTA& logFont, LoadNotes* notes) {
  const Language* language = LanguageOf(logFont.lfCharSet);
  FontFileMatch match = BestFace(config, logFont, language ? language->code : nullptr);
  if (!match.path.empty() || !language) return match;
  match = BestFace(config, logFont, nullptr);
  if (!match.path.empty() && notes) {
    notes->Add(LoadNote{FindingCode::kFontFallback, "", 0, "", "",
                        NoteMessage("no installed face covers %s; using %s (%s)", language->name,
                                    match.family.c_str(), match.path.c_str())});
  }
  return match;
}

}  // namespace

FontFileMatch MatchFontFile(const LOGFONTA& logFont, LoadNotes* notes) {
  // A configuration of our own, destroyed after the match: fontconfig's
  // process-wide one would stay allocated until the process ends. Fonts are
  // matched only when a font is created, so loading it each time costs little.
  FcConfig* config = Fontconfig().FcInitLoadConfigAndFonts();
  if (!config) return {};
  FontFileMatch match = MatchWithConfig(config, logFont, notes);
  Fontconfig().FcConfigDestroy(config);
  return match;
}
