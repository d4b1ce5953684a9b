// The run's result text: every reported line followed by "\r\n", and at the
// end the overall grade line. Saved as the result file and sent as the run
// log, so its layout is a format others read.
#pragma once
#include <cstdint>
#include <string>

#include "base/strings.h"
#include "engine/check_result.h"

namespace engine {

constexpr unsigned kIdGradeHeading = 1010;
constexpr unsigned kIdExcellent = 1020;
constexpr unsigned kIdError = 1021;
constexpr unsigned kIdCancelled = 1052;
constexpr unsigned kIdSatisfactory = 1059;

// The overall grade of a finished list: 0 or 2 or 3, never 1 or 4.
int OverallGrade(const CheckResults& results);
// True when any item carries a recommendation.
bool HasRecommendation(const CheckResults& results);
// The word for a grade (empty for GradeNotice).
std::wstring GradeWord(const base::Strings& strings, int grade);

// "mm:ss.mmm", or "h:mm:ss.mmm" from an hour on.
std::wstring DurationText(uint64_t milliseconds);

class ResultText {
 public:
  // A null line adds only the line break.
  void AddLine(const wchar_t* line);
  // "\r\n", the heading "...:" and the grade word; no line break after it.
  void AppendGrade(const base::Strings& strings, int grade);
  const std::wstring& Text() const { return m_text; }
  void Clear() { m_text.clear(); }

 private:
  std::wstring m_text;
};

}  // namespace engine
