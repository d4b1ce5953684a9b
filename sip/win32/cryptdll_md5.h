// MD5 from the system's cryptdll.dll (MD5Init/MD5Update/MD5Final), loaded
// from the system folder each time; the built-in code where it is missing.
#pragma once
#include "sip/md5.h"

namespace Diagnostic {

class CryptdllMd5 : public Md5 {
 public:
  Md5Digest Digest(const void* data, size_t size) override;
  // Whether the last digest came from the system library.
  bool UsedSystemLibrary() const { return m_usedSystem; }

 private:
  BuiltinMd5 m_builtin;
  bool m_usedSystem = false;
};

}  // namespace Diagnostic
