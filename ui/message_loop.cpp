#include "ui/message_loop.h"

#include <algorithm>

namespace ui {
namespace {
thread_local MessageLoop* t_current = nullptr;
}

void MessageLoop::AddMessageFilter(CMessageFilter* filter) { m_filters.push_back(filter); }

void MessageLoop::RemoveMessageFilter(CMessageFilter* filter) {
  m_filters.erase(std::remove(m_filters.begin(), m_filters.end(), filter), m_filters.end());
}

void MessageLoop::AddIdleHandler(CIdleHandler* handler) { m_idle.push_back(handler); }

void MessageLoop::RemoveIdleHandler(CIdleHandler* handler) {
  m_idle.erase(std::remove(m_idle.begin(), m_idle.end(), handler), m_idle.end());
}

bool MessageLoop::PreTranslate(MSG* msg) {
  // Newest filter first; a copy, since a filter may remove itself.
  const std::vector<CMessageFilter*> filters(m_filters.rbegin(), m_filters.rend());
  for (CMessageFilter* f : filters)
    if (f->PreTranslateMessage(msg)) return true;
  return false;
}

void MessageLoop::Idle() {
  const std::vector<CIdleHandler*> handlers = m_idle;
  for (CIdleHandler* h : handlers) h->OnIdle();
}

int MessageLoop::Run() {
  MSG msg = {};
  for (;;) {
    while (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      Idle();
      if (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) break;
      WaitMessage();
    }
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) continue;  // an invalid window handle; nothing to dispatch
    if (!got) break;
    if (!PreTranslate(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return static_cast<int>(msg.wParam);
}

MessageLoop* MessageLoop::Current() { return t_current; }

ScopedMessageLoop::ScopedMessageLoop(MessageLoop* loop) : m_previous(t_current) { t_current = loop; }
ScopedMessageLoop::~ScopedMessageLoop() { t_current = m_previous; }

}  // namespace ui
