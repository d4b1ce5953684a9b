// The two options of the command line, "-l=<login>" and "-t=<language id>".
#pragma once
#include <optional>
#include <string>

namespace app {

// Looks for option `name` (e.g. L"-l") in the command line. Only the first
// occurrence of the name is examined: it counts when it stands at the start of
// the line or after a space, and is followed by the end, a space or '='.
// Returns nothing when the option is absent; otherwise its value, which is
// empty unless '=' follows the name (value up to the next space or the end).
std::optional<std::wstring> FindOption(const std::wstring& commandLine, const std::wstring& name);

}  // namespace app
