#include "sip/media_plugin.h"

#include "base/format.h"

namespace Diagnostic {

std::wstring RemoteSdpXml(const std::wstring& address, const std::wstring& port) {
  return base::Format(
      L"<sdp ip=\"[%s]\" origUser=\"-\" sessionID=\"1111\" sessionVersion=\"9999\" originIP=\"[%s]\">"
      L"<media media=\"audio\" ip=\"[%s]:%s\" protocol=\"RTP/AVP\" direction=\"sendrecv\">"
      L"<codec id=\"0\" name=\"PCMU/8000\"/><codec id=\"4\" name=\"G723/8000\"/><codec id=\"8\" name=\"PCMA/8000\"/>"
      L"<codec id=\"101\" name=\"telephone-event/8000\" format=\"0-15\"/></media></sdp>",
      address, address, address, port);
}

std::map<std::wstring, std::wstring> ParseStatistics(const std::wstring& text) {
  std::map<std::wstring, std::wstring> out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(L'\n', start);
    const bool last = end == std::wstring::npos;
    if (last) end = text.size();
    const std::wstring line = text.substr(start, end - start);
    const size_t colon = line.find(L": ");
    if (colon != std::wstring::npos)
      out[line.substr(0, colon)] = line.substr(colon + 2);
    else if (last)
      out[line] = L"";
    start = end + 1;
  }
  return out;
}

}  // namespace Diagnostic
