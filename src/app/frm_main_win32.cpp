#include "app/frm_main_win32.h"

#include "app/local_time_win32.h"
#include "render/picture_resources_win32.h"

namespace tavro::app {

namespace {
constexpr wchar_t kWindowClass[] = L"TavroClockMain";
constexpr wchar_t kWindowTitle[] = L"TavroClock";
// The periodic event: one timer, re-armed for just after each whole second, so the process
// wakes about once a second instead of every 10 ms.
constexpr UINT_PTR kTickTimer = 1;
}  // namespace

std::unique_ptr<FrmMain> FrmMain::create(HINSTANCE instance, Program& program) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hIcon = LoadIconW(instance, L"APPICON");
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc);  // fails harmlessly when the class is already there

    std::unique_ptr<FrmMain> form(new FrmMain(instance, program));
    // A tool window: a desktop clock has no task-bar button.
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, kWindowTitle, WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, instance, form.get());
    if (!hwnd || !form->Form_Load()) return nullptr;
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd);
    form->armTimer();
    return form;
}

FrmMain::~FrmMain() {
    if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT CALLBACK FrmMain::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<FrmMain*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<FrmMain*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        if (form) form->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return form ? form->handleMessage(message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT FrmMain::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kTickTimer) tim10ms_Timer();
            return 0;
        case WM_TIMECHANGE:
            tim10ms_Timer();
            return 0;
        case WM_PAINT:
            onPaint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the canvas covers every pixel
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;  // a click on the clock does not lift it above other windows
        case WM_CLOSE:
            Form_Unload();
            DestroyWindow(hwnd_);
            return 0;
        case WM_ENDSESSION:
            if (wParam) Form_Unload();
            return 0;
        case WM_DESTROY:
            KillTimer(hwnd_, kTickTimer);
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

bool FrmMain::Form_Load() {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);

    // The canvas holds every panel; the views only cut it off at the window's lower edge.
    canvas_ = render::DibCanvas::create(kPanelWidth, kFullPanelRows * kCellPixels);
    if (!canvas_) return false;
    if (auto sheet = render::loadPictureResource(L"SEVEN_SEGMENT")) img7seg_ = std::move(*sheet);

    const WindowRect r = clockWindowRect(screenWidth, viewMode_);
    SetWindowPos(hwnd_, HWND_BOTTOM, r.left, r.top, r.width, r.height, SWP_NOACTIVATE);

    painter_ = std::make_unique<CanvasClockPainter>(canvas_->canvas(), img7seg_, nullptr);
    canvas_->flush();
    startClock(state_, program_.targetDateValue, localNow(), *painter_);
    painter_->takeDirty();
    return true;
}

void FrmMain::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    ShowWindow(hwnd_, SW_HIDE);
}

void FrmMain::armTimer() { SetTimer(hwnd_, kTickTimer, millisecondsToNextSecond(), nullptr); }

void FrmMain::tim10ms_Timer() {
    canvas_->flush();
    app::tim10ms_Timer(state_, localNow(), program_.targetDateValue, *painter_);
    invalidate(painter_->takeDirty());
    armTimer();
}

void FrmMain::invalidate(const DirtyRect& dirty) {
    if (!dirty.any) return;
    const RECT r{dirty.left, dirty.top, dirty.right, dirty.bottom};
    InvalidateRect(hwnd_, &r, FALSE);
}

void FrmMain::onPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    const RECT& r = ps.rcPaint;
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, canvas_->dc(), r.left, r.top, SRCCOPY);
    EndPaint(hwnd_, &ps);
}

}  // namespace tavro::app
