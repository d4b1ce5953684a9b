#!/usr/bin/env bash
# Portable folders must not include Win32 or COM headers: only ui/, resources/,
# */win32/ folders and the program entry points may.
cd "$(dirname "$0")/.."
bad=$(git ls-files '*.c' '*.cc' '*.cpp' '*.h' '*.hpp' 2>/dev/null \
  | grep -v -E '(^|/)win32/|^ui/|^resources/|^tools/' \
  | xargs -r grep -l -E '#include[[:space:]]*<(windows|winsock2?|ws2tcpip|iphlpapi|icmpapi|objbase|ole2|oleauto|commctrl|commdlg|richedit|shlobj|shlwapi|dsound|mapi|wincrypt|sspi|schannel|msi|netfw|winreg|winuser|winbase|mmsystem|process)\.h>')
if [ -n "$bad" ]; then
  echo "Win32 headers in portable files:"; echo "$bad"; exit 1
fi
echo "layers ok"
