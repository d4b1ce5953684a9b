// The shape every check shares: Run, success, title, the log of its lines and
// its start and end time; and ModuleMessage, the one way a line gets out.
#pragma once
#include <cstdint>
#include <string>

#include "base/clock.h"
#include "base/format.h"
#include "base/strings.h"

namespace Diagnostic {

class ModuleListener {
 public:
  virtual ~ModuleListener() = default;
  // `text` null stands for an empty line; `show` nonzero asks for the line to
  // be shown in the progress view as well as logged.
  virtual void OnMessage(const wchar_t* text, int show) = 0;
};

// What a module needs of its surroundings: texts and time.
struct ModuleContext {
  const base::Strings* strings;
  base::Clock* clock;
};

class Module {
 public:
  Module(ModuleListener* listener, const ModuleContext& context) : m_listener(listener), m_context(context) {}
  virtual ~Module() = default;
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  virtual bool Run() = 0;
  virtual bool Succeeded() const = 0;
  virtual std::wstring Title() const = 0;
  virtual std::wstring Log() const { return m_log; }

  uint64_t StartTime() const { return m_startTime; }
  uint64_t EndTime() const { return m_endTime; }

  // Passes one finished line on and logs it; used through ModuleMessage.
  void Emit(const std::wstring& line, int show);

  const base::Strings& strings() const { return *m_context.strings; }
  const ModuleContext& context() const { return m_context; }

 protected:
  void MarkStart() { m_startTime = m_context.clock->NowMs(); }
  void MarkEnd() { m_endTime = m_context.clock->NowMs(); }

 private:
  ModuleListener* m_listener;
  ModuleContext m_context;
  uint64_t m_startTime = 0;
  uint64_t m_endTime = 0;
  std::wstring m_log;
};

// Form A: the format is a string resource (ids below 0x10000).
template <class... Args>
void ModuleMessage(Module* module, int show, unsigned formatId, const Args&... args) {
  module->Emit(base::Format(module->strings().Load(formatId), args...), show);
}

// Form B: the format is a text.
template <class... Args>
void ModuleMessage(Module* module, int show, const std::wstring& format, const Args&... args) {
  module->Emit(base::Format(format, args...), show);
}
template <class... Args>
void ModuleMessage(Module* module, int show, const wchar_t* format, const Args&... args) {
  module->Emit(base::Format(format ? std::wstring(format) : std::wstring(), args...), show);
}

// The system's message for an error code, trailing line breaks removed, or
// "HRESULT 0x%8.8x" when the system has none. `systemText` is what the system
// said (empty when nothing).
std::wstring ErrorTextFrom(const std::wstring& systemText, uint32_t code);

}  // namespace Diagnostic
