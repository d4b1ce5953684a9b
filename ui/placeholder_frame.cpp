#include "ui/placeholder_frame.h"

#include <string>

#include "app/win32/resource_module.h"

namespace ui {
namespace {
constexpr UINT kIdCaption = 10001;
constexpr UINT kIdIcon = 10001;
constexpr UINT kIdIntro = 10009;
}  // namespace

PlaceholderFrame::~PlaceholderFrame() {
  if (m_hwnd) DestroyWindow(m_hwnd);
  if (m_font) DeleteObject(m_font);
}

bool PlaceholderFrame::Create(int showCommand) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HMODULE resources = app::ResourceModule();
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClassName;
  wc.hIcon = static_cast<HICON>(LoadImageW(resources, MAKEINTRESOURCEW(kIdIcon), IMAGE_ICON,
                                           GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  wc.hIconSm = static_cast<HICON>(LoadImageW(resources, MAKEINTRESOURCEW(kIdIcon), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  RegisterClassExW(&wc);  // a second registration fails harmlessly

  LOGFONTW lf = {};
  lf.lfHeight = 20;
  lf.lfQuality = PROOF_QUALITY;
  lstrcpynW(lf.lfFaceName, L"Microsoft Sans Serif", LF_FACESIZE);
  m_font = CreateFontIndirectW(&lf);

  const std::wstring caption = app::LoadResString(kIdCaption);
  const int left = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  m_hwnd = CreateWindowExW(WS_EX_APPWINDOW | WS_EX_WINDOWEDGE, kClassName, caption.c_str(),
                           WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, left, top, kWidth, kHeight,
                           nullptr, nullptr, instance, this);
  if (!m_hwnd) return false;
  if (MessageLoop* loop = MessageLoop::Current()) loop->AddMessageFilter(this);
  ShowWindow(m_hwnd, showCommand);
  UpdateWindow(m_hwnd);
  return true;
}

BOOL PlaceholderFrame::PreTranslateMessage(MSG* msg) { return m_hwnd && IsDialogMessageW(m_hwnd, msg); }

LRESULT CALLBACK PlaceholderFrame::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    static_cast<PlaceholderFrame*>(create->lpCreateParams)->m_hwnd = hwnd;
  }
  auto* self = reinterpret_cast<PlaceholderFrame*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT PlaceholderFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = kWidth;
      info->ptMinTrackSize.y = kHeight;
      return 0;
    }
    case WM_SIZE:
      InvalidateRect(m_hwnd, nullptr, TRUE);
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_DESTROY: {
      if (MessageLoop* loop = MessageLoop::Current()) loop->RemoveMessageFilter(this);
      SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
      m_hwnd = nullptr;
      PostQuitMessage(1);
      return 0;
    }
  }
  return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

void PlaceholderFrame::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hwnd, &ps);
  RECT rc;
  GetClientRect(m_hwnd, &rc);
  InflateRect(&rc, -40, -40);
  const std::wstring intro = app::LoadResString(kIdIntro);
  HGDIOBJ old = SelectObject(dc, m_font ? m_font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  DrawTextW(dc, intro.c_str(), static_cast<int>(intro.size()), &rc, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  EndPaint(m_hwnd, &ps);
}

}  // namespace ui
