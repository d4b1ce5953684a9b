// The two language tables must stay interchangeable: the same ids, and for
// every id the same sequence of conversions, since any text may be used as a
// format with the arguments the code passes.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "base/strings.h"

namespace {

const base::StringEntry kRussian[] = {
#include "strings_ru.inc"
};
const base::StringEntry kEnglish[] = {
#include "strings_en.inc"
};

// The conversion letters of a format, with their flags/width ("%3d", "%08x").
std::vector<std::wstring> Conversions(const std::wstring& format) {
  std::vector<std::wstring> out;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != L'%') continue;
    size_t j = i + 1;
    if (j < format.size() && format[j] == L'%') {
      i = j;
      continue;
    }
    while (j < format.size() && std::wstring(L"-+ #0123456789.*lhI").find(format[j]) != std::wstring::npos) ++j;
    out.push_back(format.substr(i, j - i + 1));
    i = j;
  }
  return out;
}

TEST(StringTables, SameIdsAndSameConversions) {
  const base::TableStrings ru(kRussian), en(kEnglish);
  std::set<unsigned> ruIds, enIds;
  for (const auto& [id, text] : ru.table()) ruIds.insert(id);
  for (const auto& [id, text] : en.table()) enIds.insert(id);
  EXPECT_EQ(ruIds, enIds);
  for (unsigned id : ruIds) EXPECT_EQ(Conversions(ru.Load(id)), Conversions(en.Load(id))) << "string " << id;
}

TEST(StringTables, ShippedTextsThatOtherCodeDependsOn) {
  const base::TableStrings ru(kRussian);
  EXPECT_EQ(ru.Load(10005), L"En");
  EXPECT_EQ(ru.Load(1012), L"-------- \x421\x442\x430\x440\x442 \"%s\" --------\r\n");
  EXPECT_EQ(ru.Load(112), L"%3d\t%s\t%s\t%s\t%s");
  EXPECT_EQ(ru.Load(126), L"Socket error at %s:  %u - %s");
  // 1063 carries a Latin 'e' as its third letter.
  const std::wstring s1063 = ru.Load(1063);
  ASSERT_GE(s1063.size(), 3u);
  EXPECT_EQ(s1063[2], L'e');
  EXPECT_EQ(ru.Load(10002).rfind(L"http://", 0), 0u);
  EXPECT_NE(ru.Load(10002).find(L"/voxtrel/bug/issue"), std::wstring::npos);
  EXPECT_EQ(ru.Load(10008), L"echotest@" + ru.Load(10007));
  EXPECT_EQ(ru.Load(99999), L"");
}

TEST(StringTables, ConversionsScanner) {
  EXPECT_EQ(Conversions(L"%d%% of %s at %08x"), (std::vector<std::wstring>{L"%d", L"%s", L"%08x"}));
}

}  // namespace
