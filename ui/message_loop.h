// The user-interface thread's message loop with message filters (dialog
// navigation among a window's tab stops) and idle handlers.
#pragma once
#include <windows.h>

#include <vector>

namespace ui {

class CMessageFilter {
 public:
  virtual ~CMessageFilter() = default;
  // True when the message was handled and must not be dispatched.
  virtual BOOL PreTranslateMessage(MSG* msg) = 0;
};

class CIdleHandler {
 public:
  virtual ~CIdleHandler() = default;
  virtual BOOL OnIdle() = 0;
};

class MessageLoop {
 public:
  void AddMessageFilter(CMessageFilter* filter);
  void RemoveMessageFilter(CMessageFilter* filter);
  void AddIdleHandler(CIdleHandler* handler);
  void RemoveIdleHandler(CIdleHandler* handler);

  // Pumps until WM_QUIT; returns its wParam.
  int Run();

  // The loop of the calling thread, if one is running or registered.
  static MessageLoop* Current();

 private:
  bool PreTranslate(MSG* msg);
  void Idle();

  std::vector<CMessageFilter*> m_filters;
  std::vector<CIdleHandler*> m_idle;
};

// Registers `loop` as the current thread's loop for its lifetime.
class ScopedMessageLoop {
 public:
  explicit ScopedMessageLoop(MessageLoop* loop);
  ~ScopedMessageLoop();
  ScopedMessageLoop(const ScopedMessageLoop&) = delete;
  ScopedMessageLoop& operator=(const ScopedMessageLoop&) = delete;

 private:
  MessageLoop* m_previous;
};

}  // namespace ui
