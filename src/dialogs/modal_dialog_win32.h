// The in-memory modal box that the target dialog and the about box are built on: controls laid
// out in twips and placed in pixels at the DPI of the monitor the box opens on, in a font of
// that DPI.
#pragma once

#include <windows.h>

#include <string>

#include "base/unique_handle_win32.h"
#include "dialogs/dialog_texts.h"

namespace tavro::dialogs {

// A modal box with no controls in its template: the subclass makes them in onInit at pixel
// positions and sizes the client area itself.
class ModalDialog {
public:
    ModalDialog() = default;
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;

    // Runs until endDialog; its result, or -1 when the box could not be made.
    INT_PTR run(HWND owner, const std::wstring& caption);
    // The same box without a loop of its own (the program's loop gives it the dialog keys):
    // endDialog destroys it. False when it could not be made.
    bool open(const std::wstring& caption);
    bool isOpen() const { return hwnd_ != nullptr; }

protected:
    virtual ~ModalDialog() = default;
    // The focus goes to the first control with WS_TABSTOP unless onInit sets it and says so.
    virtual bool onInit() = 0;  // true when it set the focus
    virtual bool onCommand(int id, int notification) = 0;  // true when handled
    virtual void onPaint(HDC) {}
    // WM_NOTIFY of a control: the answer for DWLP_MSGRESULT, or nothing when not handled.
    virtual bool onNotify(const NMHDR&, LRESULT&) { return false; }
    // Any other message; true when handled.
    virtual bool onMessage(UINT, WPARAM, LPARAM) { return false; }
    // A modeless box after its window went.
    virtual void onClosed() {}
    // A box that lays its controls out again at a new DPI says so, and follows its monitor's DPI
    // when it is moved to another: its font made anew, then placeControls at the new DPI.
    virtual bool followsDpi() const { return false; }
    virtual void placeControls() {}

    HWND hwnd() const { return hwnd_; }
    HWND addControl(const wchar_t* windowClass, const std::wstring& text, DWORD style, DWORD exStyle, int id,
                    const TwipsRect& rect);
    // Gives the box this client size and centres it in the work area of its monitor (or leaves
    // it where it stands).
    void setClientSize(const TwipsRect& client, bool centre = true);
    // The box's layout in pixels of its monitor.
    PixelRect pixels(const TwipsRect& r) const { return toPixels(r, dpi_); }
    PixelBand pixels(const TwipsLine& l) const { return toPixels(l, dpi_); }
    void endDialog(INT_PTR result);

private:
    static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool takeDpi(int dpi, const RECT& suggested);

    HWND hwnd_ = nullptr;
    bool modeless_ = false;
    int dpi_ = kDesignDpi;
    base::UniqueFont font_;  // made for the box's DPI, deleted with the box
};

// The window a modal box hangs on. The system would disable the top-level ancestor of the
// given owner, which for the clock lying on the desktop is the program manager's window of
// another process; then the box has no owner and the given window itself is disabled while
// the box is open, so that it takes no clicks meanwhile.

class ModalOwner {
public:
    explicit ModalOwner(HWND requested);
    ~ModalOwner();
    ModalOwner(const ModalOwner&) = delete;
    ModalOwner& operator=(const ModalOwner&) = delete;

    HWND owner() const { return owner_; }

private:
    HWND owner_ = nullptr;
    HWND disabled_ = nullptr;
};

}  // namespace tavro::dialogs
