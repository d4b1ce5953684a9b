// One line of a run's result list.
#pragma once
#include <memory>
#include <string>
#include <vector>

enum Grade { GradeExcellent = 0, GradeNotice = 1, GradeSatisfactory = 2, GradeError = 3, GradeCancelled = 4 };

struct CheckResult {
  int grade;
  std::wstring title;
  std::wstring value;
  std::wstring recommendation;
};

using CheckResults = std::vector<std::shared_ptr<const CheckResult>>;
