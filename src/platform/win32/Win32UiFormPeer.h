#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui.h"
#include "platform/win32/Win32UiControl.h"

namespace tarnwk::win32 {

class Win32Ui;

// The window of one form and a native child window for each of its
// controls, built from the declarations alone. The controls are all children
// of the form's window, placed where their containers put them; a frame, a
// picture box or a tab page hides what it holds. Model changes are noted and
// applied together when events are served; user actions go to the controls,
// after which the windows show whatever state the handlers left.
class Win32FormPeer final : public ui::FormPeer {
public:
    // Window messages of the form's own.
    static constexpr UINT kFlushMessage = WM_APP + 1;
    static constexpr UINT kActivatedMessage = WM_APP + 2;
    static constexpr UINT kShownFromOutsideMessage = WM_APP + 3;
    static constexpr UINT_PTR kClockTimer = 1;
    static constexpr int kFirstControlId = 100;

    Win32FormPeer(Win32Ui& ui, ui::Form& form);
    ~Win32FormPeer() override;

    void show() override;
    void hide() override;
    void captionChanged() override;

    ui::Form& form() const { return form_; }
    HWND hwnd() const { return hwnd_; }
    Win32Ui& backend() const { return ui_; }
    UINT dpi() const { return dpi_; }
    // The native window of a control (null for a timer).
    HWND windowOf(const ui::Control& control) const;
    Win32ControlBinding* bindingOf(const ui::Control& control) const;

    // Runs what the user did; unless that unloaded the form, runs
    // `afterward` and brings every window of the form up to date.
    void userAction(const std::function<void()>& action,
                    const std::function<void()>& afterward = {});
    void noteDirty(Win32ControlBinding& binding);
    // Applies all noted changes now.
    void flush();
    // Shows and hides the controls after a container or tab changed.
    void applyVisibility();
    // Ctrl+Tab and Ctrl+Page Down select the next tab of the form's tab
    // control, with Shift or Page Up the previous one. True when the key
    // was such a one.
    bool switchTabByKey(const MSG& message);
    // A font for a control at the window's DPI, shared by the form.
    HFONT font(const ui::Font& font, bool underline);

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static const wchar_t* windowClass();

private:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    Win32ControlBinding* bindingById(int id) const;
    void buildControls();
    void stackControls();
    void placeAll();
    void dpiChanged(UINT dpi, const RECT* suggested);
    void centre();
    void focusFirst();
    void makeDefault(HWND button, bool isDefault);
    void updateClock();
    // The brush a control on a tab page paints its ground with, so it sits
    // on the themed page rather than in a grey box; null without a theme.
    HBRUSH pageBrush(const Win32ControlBinding& binding, HDC dc);
    void dropPageBrushes();

    Win32Ui& ui_;
    ui::Form& form_;
    HWND hwnd_ = nullptr;
    UINT dpi_ = 96;
    DWORD style_ = 0;
    DWORD exStyle_ = 0;
    std::vector<std::unique_ptr<Win32ControlBinding>> bindings_;
    std::vector<Win32ControlBinding*> dirty_;
    bool flushPosted_ = false;
    bool shownBefore_ = false;
    bool showing_ = false;
    HWND focus_ = nullptr;
    std::map<std::string, HFONT> fonts_;
    // Per tab control: the page's picture as a brush, and its bitmap.
    std::map<HWND, std::pair<HBRUSH, HBITMAP>> pageBrushes_;

    // Set false when the peer goes, so a handler that unloaded the form is
    // not followed by work on the peer.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace tarnwk::win32
