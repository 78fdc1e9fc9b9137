#include "platform/qt/QtFormPeer.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include "platform/qt/Artwork.h"
#include "platform/qt/QtUi.h"
#include "platform/qt/Twips.h"
#include "platform/qt/WidgetFactory.h"

namespace tarnwk::qt {

namespace {

Qt::WindowFlags windowFlags(const ui::FormStyle& style) {
    if (!style.titleBar) return Qt::Window | Qt::FramelessWindowHint;
    // Only the buttons asked for: Qt adds none of its own with this hint.
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (style.closeCommand) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (style.minimizeButton) flags |= Qt::WindowMinimizeButtonHint;
    if (style.maximizeButton) flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

}  // namespace

QtFormPeer::QtFormPeer(QtUi& ui, ui::Form& form)
    : ui_(ui),
      form_(form),
      guard_(std::make_unique<QObject>()),
      window_(new FormWindow(this, windowFlags(form.style()))) {
    window_->setObjectName(QString::fromStdString(form.name()));
    window_->setWindowTitle(QString::fromStdString(form.caption()));
    applyIcon();
    window_->setFixedSize(pixels(form.clientWidth()), pixels(form.clientHeight()));
    bindings_.reserve(form.controls().size());
    for (ui::Control* control : form.controls()) build(*control);
    for (auto& binding : bindings_) {
        binding->applyAll();
        binding->control().attach(binding.get());
    }
    ui_.peerCreated(this);
}

QtFormPeer::~QtFormPeer() {
    // The controls may be gone already (the form is being destroyed): touch
    // none of them. Cut the connections and timers first, then let the
    // window go once the event it may be handling is over.
    ui_.peerDestroyed(this);
    guard_.reset();
    window_->detach();
    window_->hide();
    window_->deleteLater();
}

ControlBinding& QtFormPeer::build(ui::Control& control) {
    if (const auto it = byControl_.find(&control); it != byControl_.end()) return *it->second;
    // A container is built before what it holds, whatever the declaration
    // order.
    QWidget* parent = window_;
    if (ui::Control* container = control.container())
        parent = containerWidget(build(*container), control.tabPage());
    auto& binding = *bindings_.emplace_back(std::make_unique<ControlBinding>(*this, control));
    byControl_.emplace(&control, &binding);
    createWidget(*this, binding, parent);
    return binding;
}

ControlBinding& QtFormPeer::binding(const ui::Control& control) const {
    return *byControl_.at(&control);
}

QObject* QtFormPeer::objectOf(const ui::Control& control) const {
    const ControlBinding& found = binding(control);
    if (found.timer()) return found.timer();
    return found.widget();
}

void QtFormPeer::show() {
    flush();
    applyIcon();
    if (!shownBefore_) {
        shownBefore_ = true;
        if (form_.style().centred) centre();
    }
    window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void QtFormPeer::hide() {
    window_->hide();
}

void QtFormPeer::captionChanged() {
    window_->setWindowTitle(QString::fromStdString(form_.caption()));
}

void QtFormPeer::applyIcon() {
    // The form's picture is a plain field, perhaps set in Form_Load.
    const std::string name = form_.icon.empty() ? std::string("icon") : form_.icon;
    if (name == iconName_) return;
    iconName_ = name;
    window_->setWindowIcon(artworkIcon(name));
}

void QtFormPeer::centre() {
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame(QPoint(0, 0), window_->size());
    frame.moveCenter(screen->availableGeometry().center());
    window_->move(frame.topLeft());
}

void QtFormPeer::userAction(const std::function<void()>& action,
                            const std::function<void()>& afterward) {
    // The action may unload the form and so delete this peer: the guard
    // tells whether it is still there.
    const QPointer<QObject> alive(guard_.get());
    action();
    if (!alive) return;
    if (afterward) afterward();
    flush();
}

void QtFormPeer::noteDirty(ControlBinding& binding) {
    dirty_.push_back(&binding);
    if (!scheduled_) {
        scheduled_ = true;
        ui_.schedule(this);
    }
}

void QtFormPeer::flush() {
    // Applying runs no handler, so no binding is noted meanwhile.
    std::vector<ControlBinding*> dirty;
    dirty.swap(dirty_);
    for (ControlBinding* binding : dirty) binding->flush();
}

void QtFormPeer::closeRequested() {
    if (form_.style().closeCommand) userAction([this] { form_.closeRequested(); });
}

void QtFormPeer::windowActivated() {
    ui_.windowActivated();
}

}  // namespace tarnwk::qt
