#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Control.h"

namespace tarnwk::ui {

class Ui;
class FormPeer;

struct FormStyle {
    bool minimizeButton = false;
    bool maximizeButton = false;
    // False takes the close command away: no close box, no system-menu Close.
    bool closeCommand = true;
    bool centred = true;
    // A window without a title bar (the splash).
    bool titleBar = true;
};

// A window, toolkit-free. A form declares its controls as members and
// implements the handlers it needs; Load, Show, Hide and Unload follow the
// usual window life: Load builds it (Form_Load runs once), Show makes it
// visible and active (Form_Activate), a close request asks Form_QueryUnload,
// which may cancel, and Unload tears the window down (Form_Unload).
class Form {
public:
    Form(Ui& ui, std::string name, std::string caption, int clientWidthTwips, int clientHeightTwips,
         FormStyle style = {});
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return name_; }
    int clientWidth() const { return width_; }
    int clientHeight() const { return height_; }
    const FormStyle& style() const { return style_; }
    const std::vector<Control*>& controls() const { return controls_; }
    Control* control(std::string_view name) const;
    Ui& ui() const { return ui_; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    // The picture behind the window (icon of the tray window), by artwork name.
    std::string icon = "icon";

    bool loaded() const { return peer_ != nullptr; }
    bool visible() const { return visible_; }

    void Load();
    void Show();
    void Hide();
    // Asks Form_QueryUnload; unless it cancels, runs Form_Unload and tears the
    // window down. True when the window was unloaded.
    bool Unload();

    // From the backend: the user asked to close the window.
    void closeRequested() { Unload(); }
    // From the backend: the window became the program's active window.
    void activated();

    void addControl(Control* control) { controls_.push_back(control); }
    // Tears the window down without any handler; for the form's destruction.
    void releasePeer();

protected:
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_QueryUnload(bool& cancel) { (void)cancel; }
    virtual void Form_Unload() {}

private:
    Ui& ui_;
    std::string name_;
    std::string caption_;
    int width_;
    int height_;
    FormStyle style_;
    std::vector<Control*> controls_;
    std::unique_ptr<FormPeer> peer_;
    bool visible_ = false;
};

// A form's widgets in one toolkit.
class FormPeer {
public:
    virtual ~FormPeer() = default;
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual void captionChanged() = 0;
};

}  // namespace tarnwk::ui
