// The table of -check's codes: each finding's stable name, its severity and
// what an author reads about it in docs/checks.md, which is written from here.
#pragma once
#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "gfxutil/finding_code.h"

// From the heaviest: an error cannot be shown as meant; a warning shows, but
// differently from what the author likely meant, or only on this machine.
enum class Severity : uint8_t { kError, kWarning, kInfo, kHint };
constexpr size_t kSeverityCount = 4;
// "error", "warning", "info", "hint"
const char* SeverityName(Severity severity);

struct CheckCode {
  FindingCode code;
  const char* name;  // "TEXTURE_NOT_FOUND"
  Severity severity;
  const char* meaning;  // what was found
  const char* effect;   // what the simulator does with it
  const char* fix;      // what the author can do
};

// Every code, in the order of FindingCode.
std::span<const CheckCode> CheckCodes();
const CheckCode& CodeOf(FindingCode code);
// The code of a name as -ignore takes it (exact, upper case); null for none.
const CheckCode* CodeNamed(std::string_view name);

// docs/checks.md: every code with its severity, meaning, effect and fix.
std::string ChecksDocument();
