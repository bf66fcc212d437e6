#include "base/display_dpi_win32.h"

#include "base/dynamic_calls_win32.h"
#include "base/unique_handle_win32.h"

namespace tavro::base {

namespace {

constexpr int kProcessPerMonitorDpiAware = 2;
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 and _PER_MONITOR_AWARE: pseudo-handles -4 and -3.
const HANDLE kPerMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
const HANDLE kPerMonitor = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));

}  // namespace

void makeProcessDpiAware() {
    const DynamicCalls& calls = dynamicCalls();
    if (auto setContext = calls.setProcessDpiAwarenessContext) {
        if (setContext(kPerMonitorV2) || setContext(kPerMonitor)) return;
        if (GetLastError() == ERROR_ACCESS_DENIED) return;  // the manifest has set it already
    }
    if (auto setAwareness = calls.setProcessDpiAwareness) {
        if (SUCCEEDED(setAwareness(kProcessPerMonitorDpiAware))) return;
    }
    SetProcessDPIAware();
}

int systemDpi() {
    const UniqueScreenDc screen = screenDc();
    const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
    return dpi > 0 ? dpi : 96;
}

int monitorDpi(HMONITOR monitor) {
    UINT x = 0, y = 0;
    if (auto forMonitor = dynamicCalls().getDpiForMonitor)
        if (monitor && SUCCEEDED(forMonitor(monitor, kEffectiveDpi, &x, &y)) && x > 0) return static_cast<int>(x);
    return systemDpi();
}

int primaryMonitorDpi() { return monitorDpi(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)); }

int windowDpi(HWND window) {
    if (auto forWindow = dynamicCalls().getDpiForWindow) {
        const UINT dpi = window ? forWindow(window) : 0;
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return systemDpi();
}

int systemMetricForDpi(int metric, int dpi) {
    const auto forDpi = dynamicCalls().getSystemMetricsForDpi;
    return forDpi ? forDpi(metric, static_cast<UINT>(dpi)) : GetSystemMetrics(metric);
}

LOGFONTW messageFont(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    const auto forDpi = dynamicCalls().systemParametersInfoForDpi;
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi)))
        return metrics.lfMessageFont;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        LOGFONTW fallback{};
        fallback.lfHeight = -MulDiv(9, dpi, 72);
        fallback.lfCharSet = DEFAULT_CHARSET;
        lstrcpyW(fallback.lfFaceName, L"MS UI Gothic");
        return fallback;
    }
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, systemDpi());
    return metrics.lfMessageFont;
}

}  // namespace tavro::base
