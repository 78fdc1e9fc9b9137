#include "platform/ui/Form.h"

#include "platform/ui/Ui.h"

namespace tarnwk::ui {

Form::Form(Ui& ui, std::string name, std::string caption, int clientWidthTwips,
           int clientHeightTwips, FormStyle style)
    : ui_(ui),
      name_(std::move(name)),
      caption_(std::move(caption)),
      width_(clientWidthTwips),
      height_(clientHeightTwips),
      style_(style) {}

Form::~Form() {
    if (ui_.activeForm() == this) ui_.setActiveForm(nullptr);
    releasePeer();
}

void Form::releasePeer() {
    if (!peer_) return;
    for (Control* control : controls_) control->attach(nullptr);
    peer_.reset();
}

Control* Form::control(std::string_view name) const {
    for (Control* control : controls_)
        if (control->name() == name) return control;
    return nullptr;
}

void Form::setCaption(std::string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    if (peer_) peer_->captionChanged();
}

void Form::Load() {
    if (peer_) return;
    peer_ = ui_.backend().createPeer(*this);
    Form_Load();
}

void Form::Show() {
    Load();
    visible_ = true;
    // Also for a visible window: showing it again brings it to the front.
    peer_->show();
    activated();
}

void Form::Hide() {
    if (!visible_) return;
    visible_ = false;
    if (peer_) peer_->hide();
    if (ui_.activeForm() == this) ui_.setActiveForm(nullptr);
}

bool Form::Unload() {
    if (!peer_) return true;
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (cancel) return false;
    Form_Unload();
    Hide();
    releasePeer();
    return true;
}

void Form::activated() {
    if (!visible_ || ui_.activeForm() == this) return;
    ui_.setActiveForm(this);
    Form_Activate();
}

}  // namespace tarnwk::ui
