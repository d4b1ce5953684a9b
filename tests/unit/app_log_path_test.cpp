#include <gtest/gtest.h>

#include <vector>

#include "app/log_path.h"

namespace {

class FakeFolders : public app::LogPathPlatform {
 public:
  std::wstring temp;
  uint32_t createResult = 0;
  std::vector<std::wstring> created;
  std::wstring TempPath() override { return temp; }
  uint32_t CreateFolder(const std::wstring& path) override {
    created.push_back(path);
    return createResult;
  }
};

TEST(RunLogPath, Cases) {
  constexpr uint32_t kAlreadyExists = 183, kAccessDenied = 5;
  const struct {
    const wchar_t* temp;
    uint32_t createResult;
    const wchar_t* path;
  } cases[] = {
      {L"C:\\Temp\\", 0, L"C:\\Temp\\Voxtrel\\probix.log"},               // created
      {L"C:\\Temp\\", kAlreadyExists, L"C:\\Temp\\Voxtrel\\probix.log"},  // already there
      {L"C:\\Temp\\", kAccessDenied, L"C:\\Temp\\Voxtrel\\probix.log"},   // other failures keep it
      {L"C:\\Gone\\", app::kErrorPathNotFound, L"C:\\Gone\\probix.log"},  // missing parent
      {L"C:\\Temp", 0, L"C:\\Temp\\Voxtrel\\probix.log"},                 // no trailing backslash
      {L"", app::kErrorPathNotFound, L"probix.log"},                      // no temporary folder
  };
  for (const auto& c : cases) {
    FakeFolders f;
    f.temp = c.temp;
    f.createResult = c.createResult;
    EXPECT_EQ(app::RunLogPath(f), c.path) << c.temp << " " << c.createResult;
    ASSERT_EQ(f.created.size(), 1u);
  }
}

}  // namespace
