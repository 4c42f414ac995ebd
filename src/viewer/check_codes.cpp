#include "viewer/check_codes.h"

namespace {

using enum Severity;
using F = FindingCode;

constexpr CheckCode kCodes[] = {
    {F::kDefinitionTooLong, "DEFINITION_TOO_LONG", kWarning,
     "The definition file goes on beyond 1 MiB; the rest is not read.",
     "No real plug-in comes near this size: the file is likely not a definition file, or is broken.",
     "Keep only the items of the plug-in's kind in the file."},
    {F::kDefinitionTooManyItems, "DEFINITION_TOO_MANY_ITEMS", kWarning,
     "The definition file holds more than 10,000 items; the rest is not read.",
     "A station of that many platforms is not something the simulator is made for.",
     "Check the platform count and the platform lines."},
    {F::kDefinitionWordCut, "DEFINITION_WORD_CUT", kWarning,
     "A word of the definition file (the name or the author) is longer than 255 bytes and was cut.",
     "The simulator keeps 255 bytes of a word: the overlay shows the word cut, and the rest of it is not read as the "
     "next item.",
     "Shorten the word; names and authors have no spaces, so a long run of text is one word."},
    {F::kDefinitionNumberTooLong, "DEFINITION_NUMBER_TOO_LONG", kWarning,
     "A number of the definition file is longer than 63 characters and is not read.",
     "The item is missing, and so are the items after it.", "Write the number with fewer digits."},
    {F::kDefinitionItemsMissing, "DEFINITION_ITEMS_MISSING", kError,
     "The definition file ends, or holds something that is not the next item, before all of its kind's items are "
     "read.",
     "The missing items keep their defaults: figures show as 0 and the model may be scaled wrongly.",
     "Write every item of the kind in its order, one per line; the report names the line where reading stopped."},
    {F::kDefinitionNumber, "DEFINITION_NUMBER", kWarning,
     "An item that should be a number is read only in part (\"1x.5\" is taken as 1) or not at all (\"時速95\").",
     "The simulator reads a number as far as it goes and takes that value; a number not read at all ends the "
     "reading of the file there.",
     "Write plain decimal numbers: digits, an optional sign and point, no units and no full-width digits."},
    {F::kScaleFigureMissing, "SCALE_FIGURE_MISSING", kError, "The definition file has no scale figure.",
     "The model is drawn at scale 1 instead of 0.5 / scale figure.", "Write the scale figure as the third item."},
    {F::kScaleFigureUnusable, "SCALE_FIGURE_UNUSABLE", kError,
     "The scale figure is 0, negative, or no finite number.",
     "0.5 / scale figure gives no usable scale: the model is drawn at scale 1.",
     "Write a positive scale figure; 0.5 draws the model at its own size."},
    {F::kPlatformCountNegative, "PLATFORM_COUNT_NEGATIVE", kError, "A station's platform count is negative.",
     "It is read as 0: no platform is read, counted or previewed.", "Write the number of platform lines."},
    {F::kPlatformsMissing, "PLATFORMS_MISSING", kError,
     "A station's file holds fewer platform lines than its platform count says, or one of them cannot be read.",
     "The platforms after the first faulty line are neither counted nor previewed.",
     "Write each platform as (x,y,z),(x,y,z) on its own line, as many as the count says."},
    {F::kPlatformNotCounted, "PLATFORM_NOT_COUNTED", kInfo,
     "A station's platform is shorter, as drawn, than the 2 units a platform needs to be counted.",
     "It is not counted in the overlay's \"ホーム数\": a file declaring 4 platforms may show 3.",
     "Check the platform's end points and the scale figure; make it at least 2 units long, or leave it out."},
    {F::kNothingToShow, "NOTHING_TO_SHOW", kError,
     "The path names no plug-in the viewer can show: no definition file, no model, or a bare model that cannot be "
     "loaded.",
     "The simulator cannot show the plug-in at all.",
     "Give a plug-in directory, its definition file, or an .x model; the message says what was missing."},
    {F::kModelUnreadable, "MODEL_UNREADABLE", kError,
     "The model file is missing or cannot be read; the message names the fault and where it stands.",
     "Nothing of the model is drawn.",
     "Export the model again, or mend the place the message names (line or byte offset, and the enclosing objects)."},
    {F::kModelSizeUnusable, "MODEL_SIZE_UNUSABLE", kWarning,
     "A bare model's bounding sphere has no usable radius (0, or not finite).",
     "The model cannot be scaled to fit the view: it is drawn at scale 1.",
     "Check that the model has vertices at more than one place and no infinite coordinates."},
    {F::kMaterialIndexesShort, "MATERIAL_INDEXES_SHORT", kWarning,
     "A MeshMaterialList gives fewer material indexes than the mesh has faces; the last index is repeated.",
     "The faces without an index of their own take the last one's material, which may not be the one meant.",
     "Export the material list again so that it has one index per face."},
    {F::kSurplusClosingBraces, "SURPLUS_CLOSING_BRACES", kInfo,
     "A text model ends with more closing braces than it opened, after its last object (an old exporter closes its "
     "root frame twice).",
     "The reference loader passes them over, and so does the viewer: the model shows as meant.",
     "Nothing needs mending; export again with a newer exporter to be rid of the note."},
    {F::kTextureNameEmpty, "TEXTURE_NAME_EMPTY", kWarning, "A TextureFilename is empty.",
     "The material is drawn without a texture.", "Name the texture file, or remove the TextureFilename."},
    {F::kModelInvisibleByDay, "MODEL_INVISIBLE_BY_DAY", kWarning,
     "Every material of the model has alpha 0.",
     "Alpha 0 hides a material by day (it is drawn only at night): the model is not seen in daylight. Exporters "
     "that write alpha 0 for \"no transparency\" cause this.",
     "Set the materials' alpha to 1 (opaque); keep 0 only for what must show at night alone."},
    {F::kModelScale, "MODEL_SCALE", kWarning,
     "The model's bounds, as drawn after the plug-in's scale, are under 5 cm or over 2 km across.",
     "The model is likely exported in the wrong unit (millimetres, or kilometres) and shows as a speck or fills the "
     "world.",
     "Export in metres, or correct the scale figure (the model is drawn at 0.5 / scale figure)."},
    {F::kDegenerateFaces, "DEGENERATE_FACES", kInfo,
     "Faces whose corners repeat a vertex or lie on one line (zero area).",
     "They draw nothing but still cost time, and they spoil normals computed by tools.",
     "Merge or delete them in the modeller (\"remove degenerate\", \"merge by distance\")."},
    {F::kUnusedVertices, "UNUSED_VERTICES", kHint,
     "Vertices that no face uses.",
     "They are not drawn; the viewer drops them, so its vertex count is lower than the modeller's.",
     "Delete loose vertices in the modeller before exporting."},
    {F::kZeroNormals, "ZERO_NORMALS", kInfo,
     "Vertices whose normal has zero length (or none, in a model whose other meshes have normals).",
     "Lighting cannot use them: those parts are drawn dark or flat.",
     "Recompute the normals in the modeller, and export normals for every mesh."},
    {F::kNoNormals, "NO_NORMALS", kInfo, "The model has no normals.",
     "Without normals the model is lit flat: every face gets the same light, and shapes are hard to read.",
     "Export the model with normals."},
    {F::kUnusedMaterial, "UNUSED_MATERIAL", kHint, "A material that no face uses.",
     "It is not drawn; its texture is still loaded.", "Delete the material, or assign it to the faces meant."},
    {F::kTextureNotFound, "TEXTURE_NOT_FOUND", kError, "A texture the model names is not found.",
     "The material is drawn without its texture.",
     "Put the texture file beside the model, under the name the model gives (a path relative to the model)."},
    {F::kTextureUnreadable, "TEXTURE_UNREADABLE", kError,
     "A texture file is found but its format cannot be read (unknown format, broken or cut file, or too large).",
     "The material is drawn without its texture.",
     "Save the texture again as BMP, PNG, JPEG, TGA, DDS or PPM."},
    {F::kTextureNotCreated, "TEXTURE_NOT_CREATED", kError,
     "A texture file is read but no texture could be made of it (the memory kept for textures is full, or the "
     "device refused it).",
     "The material is drawn without its texture.", "Use smaller textures, or fewer of them."},
    {F::kTextureInModelDirectory, "TEXTURE_IN_MODEL_DIRECTORY", kWarning,
     "A texture is not found under the name the model gives, only by its file name in the model's directory.",
     "It is found here, but the name still points elsewhere: other tools, and the simulator on another machine, may "
     "not find it.",
     "Store the texture name relative to the model, e.g. \"tex\\\\wall.png\"."},
    {F::kTextureForeignPath, "TEXTURE_FOREIGN_PATH", kWarning,
     "A texture is named by an absolute path (\"C:\\\\Users\\\\...\", \"\\\\\\\\server\\\\...\", \"/home/...\").",
     "The path exists only on the author's machine: on a user's machine the texture will not be there.",
     "Make the exporter write paths relative to the model, and ship the texture with the plug-in."},
    {F::kTextureOutsidePlugin, "TEXTURE_OUTSIDE_PLUGIN", kWarning,
     "A texture is found outside the plug-in's folder (\"..\\\\shared\\\\wall.png\", or an absolute path).",
     "It works here because the file happens to be there; a user who installs the plug-in alone will not have it.",
     "Copy the texture into the plug-in's folder and name it from there."},
    {F::kTextureNameNotCp932, "TEXTURE_NAME_NOT_CP932", kWarning,
     "A texture's name holds characters that code page 932 (Shift-JIS) cannot encode.",
     "The simulator on Windows reads names in code page 932: it cannot open a file of that name.",
     "Rename the texture with ASCII letters (or characters of Shift-JIS) and name it so in the model."},
    {F::kTextureFoundByCase, "TEXTURE_FOUND_BY_CASE", kInfo,
     "A texture is found only by ignoring letter case or by reading '\\\\' as '/'.",
     "The simulator on Windows finds it the same way, but Linux tools and archives that keep names exactly do not.",
     "Store the name with '/' or '\\\\' as you like, but with the letter case of the file on disk."},
    {F::kTextureFoundByCp932, "TEXTURE_FOUND_BY_CP932", kInfo,
     "A texture is found only by decoding its Shift-JIS name: the file on disk has the UTF-8 form of the name.",
     "The simulator on Windows finds it; other Linux tools look for the Shift-JIS bytes and do not.",
     "Use ASCII names for textures, which read the same everywhere."},
    {F::kTextureNotPowerOfTwo, "TEXTURE_NOT_POWER_OF_TWO", kHint,
     "A texture's width or height is not a power of two.",
     "The simulator's graphics library stretches such textures on devices that demand powers of two: they look "
     "softer there, and take more memory.",
     "Scale the texture to a power of two on each side (256, 512, 1024, ...)."},
    {F::kTextureTooLarge, "TEXTURE_TOO_LARGE", kWarning, "A texture is wider or taller than 2048 pixels.",
     "Many devices of the simulator's era cannot hold such a texture: it is shrunk, or not drawn at all.",
     "Scale the texture to 2048 pixels or less on each side."},
    {F::kNotesLeftOut, "NOTES_LEFT_OUT", kInfo,
     "A load noted more than 15 things; the rest are counted, not listed.",
     "Nothing by itself: the notes listed show what kind of fault repeats.",
     "Mend the faults listed, then check again."},
    {F::kFontFallback, "FONT_FALLBACK", kInfo,
     "No installed font covers Japanese; another face draws the overlay.",
     "Only the viewer's overlay is concerned: Japanese text shows as boxes.",
     "Install a Japanese font (fonts-ipafont-gothic)."},
};

static_assert(std::size(kCodes) == static_cast<size_t>(FindingCode::kCount), "one entry per code");

constexpr bool InCodeOrder() {
  for (size_t i = 0; i < std::size(kCodes); ++i)
    if (static_cast<size_t>(kCodes[i].code) != i) return false;
  return true;
}
static_assert(InCodeOrder(), "the table follows FindingCode");

}  // namespace

const char* SeverityName(Severity severity) {
  switch (severity) {
    case kError: return "error";
    case kWarning: return "warning";
    case kInfo: return "info";
    case kHint: return "hint";
  }
  return "error";
}

std::span<const CheckCode> CheckCodes() { return kCodes; }

const CheckCode& CodeOf(FindingCode code) { return kCodes[static_cast<size_t>(code)]; }

const CheckCode* CodeNamed(std::string_view name) {
  for (const CheckCode& code : kCodes)
    if (name == code.name) return &code;
  return nullptr;
}

std::string ChecksDocument() {
  std::string text =
      "# The codes of `-check`\n\n"
      "Written by `vondrel-viewer -checks-doc` from the table in `src/viewer/check_codes.cpp`; do not edit by hand.\n\n"
      "Severities: **error** — cannot be shown as meant; **warning** — shows, but differently from what the author "
      "likely meant, or only on this machine; **info** and **hint** — worth knowing, changes nothing by itself. "
      "`-check` exits with status 3 when a finding of severity error or warning is left after `-ignore`.\n\n"
      "| code | severity |\n|---|---|\n";
  for (const CheckCode& code : kCodes)
    text += std::string("| [`") + code.name + "`](#" + code.name + ") | " + SeverityName(code.severity) + " |\n";
  for (const CheckCode& code : kCodes) {
    text += std::string("\n<a id=\"") + code.name + "\"></a>\n## " + code.name + "\n\n";
    text += std::string("Severity: ") + SeverityName(code.severity) + "\n\n";
    text += std::string("**What:** ") + code.meaning + "\n\n";
    text += std::string("**In the simulator:** ") + code.effect + "\n\n";
    text += std::string("**Fix:** ") + code.fix + "\n";
  }
  return text;
}
