// A plain top-level window that stands in for the main frame until the real
// frame and its panels exist: the frame's size, caption and icon, the intro
// text, and the frame's quit code. It runs no check.
#pragma once
#include <windows.h>

#include "ui/message_loop.h"

namespace ui {

class PlaceholderFrame : public CMessageFilter {
 public:
  static constexpr wchar_t kClassName[] = L"ProbixPlaceholderFrame";
  static constexpr int kWidth = 600;
  static constexpr int kHeight = 460;

  PlaceholderFrame() = default;
  ~PlaceholderFrame() override;

  // Creates the window centred on the desktop and shows it; false on failure.
  bool Create(int showCommand);
  HWND hwnd() const { return m_hwnd; }

  BOOL PreTranslateMessage(MSG* msg) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();

  HWND m_hwnd = nullptr;
  HFONT m_font = nullptr;
};

}  // namespace ui
