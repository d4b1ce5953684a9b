#include "sip/digest.h"

#include "base/base64.h"
#include "base/format.h"
#include "base/utf8.h"

namespace Diagnostic {

std::wstring LocalTimeText(const std::tm& t) {
  return base::Format(L"%02d/%02d/%04d %02d:%02d:%02d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900, t.tm_hour,
                      t.tm_min, t.tm_sec);
}

std::wstring ClientNonce(Md5& md5, const std::wstring& text) {
  std::string bytes;
  for (wchar_t c : text) {  // UTF-16LE, as the text is held on Windows
    const uint32_t u = static_cast<uint32_t>(c) & 0xFFFF;
    bytes += static_cast<char>(u & 0xFF);
    bytes += static_cast<char>(u >> 8);
  }
  const Md5Digest digest = md5.Digest(bytes.data(), bytes.size());
  return base::FromUtf8(base::Base64Encode(digest.data(), digest.size()));
}

std::wstring DigestResponse(Md5& md5, const std::wstring& account, const std::wstring& password,
                            const Challenge& c) {
  const std::wstring ha1 = Md5Hex(md5, account + L":" + c.realm + L":" + password);
  const std::wstring ha2 = Md5Hex(md5, L"INVITE:sip:" + account);
  const std::wstring qop = c.cnonce.empty() ? L"" : L"auth";
  return Md5Hex(md5, ha1 + L":" + c.nonce + L":00000001:" + c.cnonce + L":" + qop + L":" + ha2);
}

std::wstring AuthorizationLine(Md5& md5, const std::wstring& account, const std::wstring& password,
                               const Challenge& c) {
  return base::Format(
      L"Authorization: Digest username=\"%s\", realm=\"%s\", nonce=\"%s\", uri=\"%s\", qop=\"auth\", "
      L"algorithm=MD5, nc=\"00000001\", cnonce=\"%s\", response=\"%s\", opaque=\"%s\"\r\n",
      account, c.realm, c.nonce, L"sip:" + account, c.cnonce, DigestResponse(md5, account, password, c), c.opaque);
}

}  // namespace Diagnostic
