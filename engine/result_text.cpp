#include "engine/result_text.h"

#include "base/format.h"

namespace engine {

bool HasRecommendation(const CheckResults& results) {
  for (const auto& r : results)
    if (!r->recommendation.empty()) return true;
  return false;
}

int OverallGrade(const CheckResults& results) {
  if (results.empty()) return GradeExcellent;
  if (results.back()->grade == GradeError) return GradeError;
  if (HasRecommendation(results)) return GradeSatisfactory;
  for (const auto& r : results)
    if (r->grade == GradeSatisfactory) return GradeSatisfactory;
  return GradeExcellent;
}

std::wstring GradeWord(const base::Strings& strings, int grade) {
  switch (grade) {
    case GradeExcellent: return strings.Load(kIdExcellent);
    case GradeSatisfactory: return strings.Load(kIdSatisfactory);
    case GradeError: return strings.Load(kIdError);
    case GradeCancelled: return strings.Load(kIdCancelled);
    default: return std::wstring();
  }
}

std::wstring DurationText(uint64_t milliseconds) {
  const uint64_t s = milliseconds / 1000;
  const unsigned ms = static_cast<unsigned>(milliseconds % 1000);
  std::wstring main;
  if (s >= 3600)
    main = base::Format(L"%d:%02d:%02d", static_cast<unsigned>(s / 3600), static_cast<unsigned>((s / 60) % 60),
                        static_cast<unsigned>(s % 60));
  else
    main = base::Format(L"%02d:%02d", static_cast<unsigned>((s / 60) % 60), static_cast<unsigned>(s % 60));
  return main + base::Format(L".%03d", ms);
}

void ResultText::AddLine(const wchar_t* line) {
  if (line) m_text += line;
  m_text += L"\r\n";
}

void ResultText::AppendGrade(const base::Strings& strings, int grade) {
  m_text += L"\r\n";
  m_text += strings.Load(kIdGradeHeading);
  m_text += GradeWord(strings, grade);
}

}  // namespace engine
