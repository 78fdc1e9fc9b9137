#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/ui.h"
#include "platform/ui/PendingChanges.h"

namespace tarnwk::win32 {

class Win32FormPeer;

// One control and its native child window (or, for a timer, its window
// timer). The control reports each change here; the binding notes it, and
// the form's peer applies the noted changes when events are next served, so
// a walk that rewrites a label for every file costs a bit-or per change.
class Win32ControlBinding final : public ui::ControlPeer {
public:
    Win32ControlBinding(Win32FormPeer& peer, ui::Control& control, int id)
        : peer_(peer), control_(control), kind_(control.kind()), id_(id) {}
    ~Win32ControlBinding() override = default;

    ui::Control& control() const { return control_; }
    // Known without the control, which may be gone when the window goes.
    ui::ControlKind kind() const { return kind_; }
    HWND hwnd() const { return hwnd_; }
    int id() const { return id_; }
    // The native class the control is made of ("Button", "SysTabControl32"...).
    static const wchar_t* nativeClass(ui::ControlKind kind);

    // Creates the child window on `parent` (the form's window).
    void create(HWND parent, UINT dpi);
    // Puts the window at its design position for `dpi` with its font.
    void place(UINT dpi);

    void update(ui::Control& control, ui::Change change) override;
    void note(unsigned changes);
    void flush();
    void applyAll();
    // Shows or hides the window as the control, its containers and its tab
    // page decide.
    void applyVisibility();

    // What the user did, from the form's window.
    void commanded(WORD code);
    void notified(const NMHDR& header);
    void timerFired();
    // The white ground of a label that asks for one; null otherwise.
    HBRUSH colour(HDC dc);
    bool isLink() const { return control_.kind() == ui::ControlKind::Label && control_.link; }

    static constexpr unsigned bit(ui::Change change) { return ui::changeBit(change); }

private:
    void apply(unsigned changes);
    void applyFont();
    void applyCaption();
    void applyValue();
    void applyItems();
    void applySelection();
    void applyTab();
    void applyTimer();
    void applyStatusParts();
    // The design rectangle in the form's coordinates: containers' positions
    // added up.
    ui::Twips absolutePosition() const;
    bool shownOnScreen() const;
    void listSelectionChanged();

    Win32FormPeer& peer_;
    ui::Control& control_;
    ui::ControlKind kind_;
    int id_;
    HWND hwnd_ = nullptr;
    bool timerRunning_ = false;
    bool shown_ = false;
    ui::PendingChanges changes_;
    HFONT font_ = nullptr;
    std::string fontKey_;
    // The rows a list shows, to append new rows rather than rebuild.
    std::vector<std::string> rows_;
    // The widest row in pixels, for sideways scrolling.
    int widest_ = 0;
};

}  // namespace tarnwk::win32
