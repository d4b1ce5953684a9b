// String resources by number. The program's texts are numbered formats;
// a missing number loads as an empty text (and so formats as an empty line).
#pragma once
#include <initializer_list>
#include <map>
#include <string>

namespace base {

class Strings {
 public:
  virtual ~Strings() = default;
  virtual std::wstring Load(unsigned id) const = 0;
};

struct StringEntry {
  unsigned id;
  const wchar_t* text;
};

// Strings from an in-memory table (the generated tables in tests, fakes).
class TableStrings : public Strings {
 public:
  TableStrings() = default;
  template <size_t N>
  explicit TableStrings(const StringEntry (&table)[N]) {
    for (const auto& e : table) m_table[e.id] = e.text;
  }
  TableStrings(std::initializer_list<StringEntry> entries) {
    for (const auto& e : entries) m_table[e.id] = e.text;
  }
  void Set(unsigned id, std::wstring text) { m_table[id] = std::move(text); }
  std::wstring Load(unsigned id) const override {
    auto it = m_table.find(id);
    return it == m_table.end() ? std::wstring() : it->second;
  }
  const std::map<unsigned, std::wstring>& table() const { return m_table; }

 private:
  std::map<unsigned, std::wstring> m_table;
};

}  // namespace base
