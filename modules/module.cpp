#include "modules/module.h"

namespace Diagnostic {

void Module::Emit(const std::wstring& line, int show) {
  if (m_listener) m_listener->OnMessage(line.c_str(), show);
  m_log += line;
  m_log += L"\r\n";
}

std::wstring ErrorTextFrom(const std::wstring& systemText, uint32_t code) {
  std::wstring text = systemText;
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n')) text.pop_back();
  if (text.empty()) return base::Format(L"HRESULT 0x%8.8x", code);
  return text;
}

}  // namespace Diagnostic
