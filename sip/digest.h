// Digest authentication of the test call: client nonce, response and the
// Authorization header line.
#pragma once
#include <ctime>
#include <string>

#include "sip/md5.h"

namespace Diagnostic {

struct Challenge {
  std::wstring realm, nonce, opaque, qop, cnonce;
};

// "dd/mm/yyyy hh:mm:ss" of a broken-down local time.
std::wstring LocalTimeText(const std::tm& local);
// The client nonce: Base64 of the MD5 of the text's UTF-16LE bytes.
std::wstring ClientNonce(Md5& md5, const std::wstring& localTimeText);

// Response over HA1 = MD5(account:realm:password), HA2 = MD5(INVITE:sip:account),
// with nonce count 00000001 and qop "auth". Without a client nonce the text
// "auth" is left out but its colons kept: HA1:nonce:00000001:::HA2.
std::wstring DigestResponse(Md5& md5, const std::wstring& account, const std::wstring& password,
                            const Challenge& challenge);

// The whole header line, CR LF included.
std::wstring AuthorizationLine(Md5& md5, const std::wstring& account, const std::wstring& password,
                               const Challenge& challenge);

}  // namespace Diagnostic
