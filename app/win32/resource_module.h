// The process-wide resource module: the program file or the chosen language
// module. Every string, dialog and icon is loaded from it.
#pragma once
#include <windows.h>

#include <string>

#include "base/strings.h"

namespace app {

HMODULE ResourceModule();
// Makes `module` the resource module; returns the previous one.
HMODULE ExchangeResourceModule(HMODULE module);

// String `id` of the resource module; empty when it has none.
std::wstring LoadResString(UINT id);

// String `id` of a given module (the program file, a language module).
std::wstring LoadModuleString(HMODULE module, UINT id);

class ResourceStrings : public base::Strings {
 public:
  std::wstring Load(unsigned id) const override { return LoadResString(id); }
};

// Strings of one fixed module, e.g. the program file before the language is
// chosen.
class ModuleStrings : public base::Strings {
 public:
  explicit ModuleStrings(HMODULE module) : m_module(module) {}
  std::wstring Load(unsigned id) const override { return LoadModuleString(m_module, id); }

 private:
  HMODULE m_module;
};

}  // namespace app
