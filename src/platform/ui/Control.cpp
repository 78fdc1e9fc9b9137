#include "platform/ui/Control.h"

#include "platform/ui/Form.h"

namespace tarnwk::ui {

Control::Control(Form& form, ControlKind kind, std::string name, Twips position,
                 std::string caption)
    : form_(form),
      kind_(kind),
      name_(std::move(name)),
      position_(position),
      caption_(std::move(caption)) {
    form_.addControl(this);
}

// Members of a form go before the form itself: the first control to go tears
// the window down, so no peer outlives the controls it mirrors.
Control::~Control() {
    form_.releasePeer();
}

void Control::changed(Change change) {
    if (peer_) peer_->update(*this, change);
}

void Control::setCaption(std::string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    changed(Change::Caption);
}

void Control::setVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    changed(Change::Visible);
}

void Control::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    changed(Change::Enabled);
}

void Control::click() {
    if (visible_ && enabled_ && onClick) onClick();
}

void CheckBox::setValue(int value) {
    if (value == value_) return;
    value_ = value;
    changed(Change::Value);
}

void CheckBox::click() {
    if (!visible() || !enabled()) return;
    setValue(value_ == 1 ? 0 : 1);
    if (onClick) onClick();
}

void OptionButton::setValue(bool value) {
    if (value && !value_) {
        // One option per container is set.
        for (Control* other : form().controls()) {
            if (other == this || other->kind() != ControlKind::OptionButton) continue;
            if (other->container() != container() || other->tabPage() != tabPage()) continue;
            static_cast<OptionButton*>(other)->setValue(false);
        }
    }
    if (value == value_) return;
    value_ = value;
    changed(Change::Value);
}

void OptionButton::click() {
    if (!visible() || !enabled()) return;
    setValue(true);
    if (onClick) onClick();
}

void ListBox::addItem(std::string text) {
    items_.push_back(std::move(text));
    selected_.push_back(false);
    changed(Change::Items);
}

void ListBox::removeItem(std::size_t index) {
    if (index >= items_.size()) return;
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    selected_.erase(selected_.begin() + static_cast<std::ptrdiff_t>(index));
    changed(Change::Items);
}

void ListBox::clear() {
    setItems({});
}

void ListBox::setItems(std::vector<std::string> items) {
    items_ = std::move(items);
    selected_.assign(items_.size(), false);
    changed(Change::Items);
}

void ListBox::setSelected(std::size_t index, bool selected) {
    if (index >= items_.size() || selected_[index] == selected) return;
    if (selected && mode_ == SelectionMode::Single) selected_.assign(items_.size(), false);
    selected_[index] = selected;
    changed(Change::Selection);
}

std::size_t ListBox::selectedCount() const {
    std::size_t count = 0;
    for (const bool selected : selected_) count += selected ? 1 : 0;
    return count;
}

void TabControl::setTab(int tab) {
    if (tab < 0 || tab >= static_cast<int>(tabs_.size()) || tab == tab_) return;
    tab_ = tab;
    changed(Change::Tab);
}

void TabControl::selectTab(int tab) {
    setTab(tab);
    if (onTabSelected) onTabSelected();
}

void Timer::tick() {
    if (enabled() && onTimer) onTimer();
}

}  // namespace tarnwk::ui
