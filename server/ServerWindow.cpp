#include "ServerWindow.h"
#include "ClientFactory.h"
#include "ServerState.h"
#include "runtime/DebugOutput.h"

namespace {
const char kWindowClass[] = "TavlinServWindow";
const UINT_PTR kTickTimer = 1;
const UINT kTickMs = 1000;
}

CServerWindow::CServerWindow(CTavlinClientFactory& factory, BOOL invisible, BOOL noTrayIcon)
    : m_factory(factory), m_invisible(invisible), m_noTrayIcon(noTrayIcon), m_window(nullptr)
{
}

int CServerWindow::Run()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kWindowClass;
    RegisterClassA(&wc);
    m_window = CreateWindowA(kWindowClass, "tavlinserv", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                             CW_USEDEFAULT, 320, 200, nullptr, nullptr, wc.hInstance, this);
    if (!m_window)
        return 1;
    if (!m_invisible && !g_bStartedByCom)
        ShowWindow(m_window, SW_SHOWNORMAL);
    SetTimer(m_window, kTickTimer, kTickMs, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

void CServerWindow::OnTimer()
{
    if (!m_factory.IsRegistered()) {
        HRESULT hr = m_factory.Register();
        if (FAILED(hr))
            DebugOutputF("tavlinserv: class object registration failed %x", unsigned(hr));
    }
    if (!g_bStartedByCom || g_nQuitCountdown <= 0)
        return;
    if (g_nObjects > 0) {
        g_nQuitCountdown = 0;
        return;
    }
    if (--g_nQuitCountdown == 0)
        DestroyWindow(m_window);
}

LRESULT CALLBACK CServerWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, LONG_PTR(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<CServerWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_TIMER:
        if (self && wParam == kTickTimer)
            self->OnTimer();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
