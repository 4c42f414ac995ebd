// What the findings of a reload tell the author in the window: how many
// errors and warnings, and which codes came or went since the last good load.
#pragma once
#include <string>
#include <vector>

#include "gfxutil/load_notes.h"

// Each code of the findings once, in the order of FindingCode.
std::vector<FindingCode> DistinctCodes(const std::vector<LoadNote>& findings);
// The overlay's line: "エラー 2  警告 1".
std::string ErrorWarningCounts(const std::vector<LoadNote>& findings);
// The log's line: "new TEXTURE_NOT_FOUND, NO_NORMALS; gone MODEL_SCALE", or
// "no codes new or gone".
std::string CodesNewAndGone(const std::vector<FindingCode>& before, const std::vector<FindingCode>& after);
