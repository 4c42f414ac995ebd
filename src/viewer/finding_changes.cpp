#include "viewer/finding_changes.h"

#include <algorithm>

#include "viewer/check_report.h"

namespace {

// The codes of `from` that `other` lacks, by name, comma-separated.
std::string Missing(const std::vector<FindingCode>& from, const std::vector<FindingCode>& other) {
  std::string names;
  for (FindingCode code : from)
    if (std::find(other.begin(), other.end(), code) == other.end())
      names += (names.empty() ? "" : ", ") + std::string(CodeOf(code).name);
  return names;
}

}  // namespace

std::vector<FindingCode> DistinctCodes(const std::vector<LoadNote>& findings) {
  std::vector<FindingCode> codes;
  for (const LoadNote& finding : findings) codes.push_back(finding.code);
  std::sort(codes.begin(), codes.end());
  codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
  return codes;
}

std::string ErrorWarningCounts(const std::vector<LoadNote>& findings) {
  SeverityCounts counts = CountBySeverity(findings);
  return "エラー " + std::to_string(counts[static_cast<size_t>(Severity::kError)]) + "  警告 " +
         std::to_string(counts[static_cast<size_t>(Severity::kWarning)]);
}

std::string CodesNewAndGone(const std::vector<FindingCode>& before, const std::vector<FindingCode>& after) {
  std::string added = Missing(after, before), gone = Missing(before, after);
  if (added.empty() && gone.empty()) return "no codes new or gone";
  std::string text;
  if (!added.empty()) text = "new " + added;
  if (!gone.empty()) text += (text.empty() ? "gone " : "; gone ") + gone;
  return text;
}
