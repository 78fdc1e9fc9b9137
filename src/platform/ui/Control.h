#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tarnwk::ui {

class Form;
class ControlPeer;

// A design position in twips (15 to a pixel at 96 dpi), relative to the
// control's container: the form, a frame, a picture box or a tab page.
struct Twips {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

enum class ControlKind {
    Label,
    Button,
    CheckBox,
    OptionButton,
    Frame,
    PictureBox,
    ListBox,
    TabControl,
    StatusBar,
    Line,
    Timer,
};

// What changed, so a backend updates only that.
enum class Change { Caption, Visible, Enabled, Value, Items, Selection, Tab, Interval };

struct Font {
    bool bold = false;
    double points = 8.25;
    std::string family;  // empty: the desktop's own
};

// One control of a form, toolkit-free: it keeps its state here, and a backend
// peer mirrors it on screen and reports what the user did. Forms hold their
// controls as members and construct them with the form, so a control's
// declaration order is its tab and painting order.
class Control {
public:
    Control(Form& form, ControlKind kind, std::string name, Twips position,
            std::string caption = {});
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    const Twips& position() const { return position_; }
    Form& form() const { return form_; }

    // Where the control sits: inside a frame or picture box, or on a page of
    // a tab control (counted from 0). Set while the form is declared.
    Control* container() const { return container_; }
    int tabPage() const { return tabPage_; }
    void placeIn(Control& container) { container_ = &container; }
    void placeOnTab(Control& tabControl, int page) {
        container_ = &tabControl;
        tabPage_ = page;
    }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    bool visible() const { return visible_; }
    void setVisible(bool visible);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    Font font;
    std::string toolTip;
    // A label drawn as a web link: blue, with a hand cursor.
    bool link = false;
    // A label on a white ground.
    bool whiteBackground = false;
    // The picture a picture box or a form shows, by artwork name.
    std::string picture;

    std::function<void()> onClick;
    // A click by the user (or a test): runs onClick when the control is
    // visible and enabled, as a real click could only then happen.
    virtual void click();

    void attach(ControlPeer* peer) { peer_ = peer; }

protected:
    void changed(Change change);

private:
    Form& form_;
    ControlKind kind_;
    std::string name_;
    Twips position_;
    std::string caption_;
    Control* container_ = nullptr;
    int tabPage_ = -1;
    bool visible_ = true;
    bool enabled_ = true;
    ControlPeer* peer_ = nullptr;
};

class ControlPeer {
public:
    virtual ~ControlPeer() = default;
    virtual void update(Control& control, Change change) = 0;
};

class Label : public Control {
public:
    Label(Form& form, std::string name, Twips position, std::string caption = {})
        : Control(form, ControlKind::Label, std::move(name), position, std::move(caption)) {}
};

class Button : public Control {
public:
    Button(Form& form, std::string name, Twips position, std::string caption)
        : Control(form, ControlKind::Button, std::move(name), position, std::move(caption)) {}
};

class Frame : public Control {
public:
    Frame(Form& form, std::string name, Twips position, std::string caption)
        : Control(form, ControlKind::Frame, std::move(name), position, std::move(caption)) {}
};

class PictureBox : public Control {
public:
    PictureBox(Form& form, std::string name, Twips position, std::string pictureName)
        : Control(form, ControlKind::PictureBox, std::move(name), position) {
        picture = std::move(pictureName);
    }
};

class StatusBar : public Control {
public:
    StatusBar(Form& form, std::string name, Twips position)
        : Control(form, ControlKind::StatusBar, std::move(name), position) {}
};

class Line : public Control {
public:
    // From (x1, y1) to (x2, y2).
    Line(Form& form, std::string name, int x1, int y1, int x2, int y2)
        : Control(form, ControlKind::Line, std::move(name), {x1, y1, x2 - x1, y2 - y1}) {}
};

// A check box: value 0 unticked, 1 ticked. A click toggles it, then runs
// onClick.
class CheckBox : public Control {
public:
    CheckBox(Form& form, std::string name, Twips position, std::string caption)
        : Control(form, ControlKind::CheckBox, std::move(name), position, std::move(caption)) {}
    int value() const { return value_; }
    void setValue(int value);
    void click() override;

private:
    int value_ = 0;
};

// An option button: setting one clears the others of its container.
class OptionButton : public Control {
public:
    OptionButton(Form& form, std::string name, Twips position, std::string caption)
        : Control(form, ControlKind::OptionButton, std::move(name), position, std::move(caption)) {}
    bool value() const { return value_; }
    void setValue(bool value);
    void click() override;

private:
    bool value_ = false;
};

enum class SelectionMode { Single, Simple, Extended };

// A list of text entries, each selected or not.
class ListBox : public Control {
public:
    ListBox(Form& form, std::string name, Twips position, SelectionMode mode)
        : Control(form, ControlKind::ListBox, std::move(name), position), mode_(mode) {}

    SelectionMode mode() const { return mode_; }
    std::size_t count() const { return items_.size(); }
    const std::string& item(std::size_t index) const { return items_[index]; }
    const std::vector<std::string>& items() const { return items_; }
    void addItem(std::string text);
    void removeItem(std::size_t index);
    void clear();
    void setItems(std::vector<std::string> items);

    bool selected(std::size_t index) const { return selected_[index]; }
    void setSelected(std::size_t index, bool selected);
    std::size_t selectedCount() const;

private:
    SelectionMode mode_;
    std::vector<std::string> items_;
    std::vector<bool> selected_;
};

// A tab control whose pages hold controls; selecting a tab by the user runs
// onTabSelected.
class TabControl : public Control {
public:
    TabControl(Form& form, std::string name, Twips position, std::vector<std::string> tabs)
        : Control(form, ControlKind::TabControl, std::move(name), position),
          tabs_(std::move(tabs)) {}
    const std::vector<std::string>& tabs() const { return tabs_; }
    int tab() const { return tab_; }
    // Selects a tab from code; the tab strip's handler does not run.
    void setTab(int tab);
    // Selects a tab as the user does, then runs onTabSelected.
    void selectTab(int tab);
    std::function<void()> onTabSelected;

private:
    std::vector<std::string> tabs_;
    int tab_ = 0;
};

// Runs onTimer every `interval` milliseconds while enabled; never shown.
class Timer : public Control {
public:
    Timer(Form& form, std::string name, int intervalMs)
        : Control(form, ControlKind::Timer, std::move(name), {}), interval_(intervalMs) {
        setVisible(false);
    }
    int interval() const { return interval_; }
    std::function<void()> onTimer;
    // A tick, from the backend: runs onTimer when enabled.
    void tick();

private:
    int interval_;
};

}  // namespace tarnwk::ui
