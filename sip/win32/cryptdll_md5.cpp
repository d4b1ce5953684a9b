#include "sip/win32/cryptdll_md5.h"

#include <windows.h>

#include <cstring>

#include "app/win32/startup_win32.h"

namespace Diagnostic {
namespace {
// The classic RSA context: bit counters, state, input buffer, then the digest.
struct Md5Context {
  ULONG count[2];
  ULONG state[4];
  unsigned char buffer[64];
  unsigned char digest[16];
};
using Md5InitFn = void(WINAPI*)(Md5Context*);
using Md5UpdateFn = void(WINAPI*)(Md5Context*, const unsigned char*, unsigned int);
using Md5FinalFn = void(WINAPI*)(Md5Context*);

template <class T>
T Export(HMODULE module, const char* name) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
}  // namespace

Md5Digest CryptdllMd5::Digest(const void* data, size_t size) {
  m_usedSystem = false;
  HMODULE library = app::LoadSystemLibrary(L"cryptdll.dll");
  if (library) {
    auto init = Export<Md5InitFn>(library, "MD5Init");
    auto update = Export<Md5UpdateFn>(library, "MD5Update");
    auto final = Export<Md5FinalFn>(library, "MD5Final");
    if (init && update && final) {
      Md5Context context;
      std::memset(&context, 0, sizeof context);
      init(&context);
      update(&context, static_cast<const unsigned char*>(data), static_cast<unsigned int>(size));
      final(&context);
      Md5Digest out;
      std::memcpy(out.data(), context.digest, out.size());
      FreeLibrary(library);
      m_usedSystem = true;
      return out;
    }
    FreeLibrary(library);
  }
  return m_builtin.Digest(data, size);
}

}  // namespace Diagnostic
