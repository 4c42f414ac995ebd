// The stable code of every finding a load or a check can make. Each code has
// its name, severity and explanation in the table of viewer/check_codes.cpp,
// from which docs/checks.md is written.
#pragma once
#include <cstdint>

enum class FindingCode : uint8_t {
  // The definition file.
  kDefinitionTooLong,
  kDefinitionTooManyItems,
  kDefinitionWordCut,
  kDefinitionNumberTooLong,
  kDefinitionItemsMissing,
  kDefinitionNumber,
  kScaleFigureMissing,
  kScaleFigureUnusable,
  kPlatformCountNegative,
  kPlatformsMissing,
  kPlatformNotCounted,
  // The model.
  kNothingToShow,
  kModelUnreadable,
  kModelSizeUnusable,
  kMaterialIndexesShort,
  kSurplusClosingBraces,
  kTextureNameEmpty,
  kModelInvisibleByDay,
  kModelScale,
  kDegenerateFaces,
  kUnusedVertices,
  kZeroNormals,
  kNoNormals,
  kUnusedMaterial,
  // The textures.
  kTextureNotFound,
  kTextureUnreadable,
  kTextureNotCreated,
  kTextureInModelDirectory,
  kTextureForeignPath,
  kTextureOutsidePlugin,
  kTextureNameNotCp932,
  kTextureFoundByCase,
  kTextureFoundByCp932,
  kTextureNotPowerOfTwo,
  kTextureTooLarge,
  // Of no one file.
  kNotesLeftOut,
  kFontFallback,
  kCount
};
