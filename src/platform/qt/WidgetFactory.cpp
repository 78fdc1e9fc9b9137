#include "platform/qt/WidgetFactory.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QListWidget>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "platform/qt/ControlWidgets.h"
#include "platform/qt/QtFormPeer.h"
#include "platform/qt/Twips.h"

namespace tarnwk::qt {

namespace {

using ui::Change;
using ui::ControlKind;

QWidget* makeLabel(QtFormPeer& peer, ui::Control& control, QWidget* parent) {
    auto* label = new ClickableLabel(parent);
    // Captions are shown as written: an "&" in a path stays an "&".
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Not a signal: the guard tells whether the peer is still there.
    label->onClick = [guard = QPointer<QObject>(peer.guard()), &peer, &control] {
        if (guard) peer.userAction([&control] { control.click(); });
    };
    return label;
}

QWidget* makeButton(QtFormPeer& peer, ui::Control& control, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, peer.guard(),
                     [&peer, &control] { peer.userAction([&control] { control.click(); }); });
    return button;
}

// Check and option buttons: a user click goes to the model, which decides
// the new value; the widget then shows the model's value, whatever Qt did.
QWidget* makeToggle(QtFormPeer& peer, ControlBinding& binding, QAbstractButton* button) {
    ui::Control& control = binding.control();
    QObject::connect(button, &QAbstractButton::clicked, peer.guard(), [&peer, &binding, &control] {
        peer.userAction([&control] { control.click(); },
                        [&binding] { binding.note(ControlBinding::bit(Change::Value)); });
    });
    return button;
}

QWidget* makeList(QtFormPeer& peer, ControlBinding& binding, QWidget* parent) {
    auto& model = static_cast<ui::ListBox&>(binding.control());
    auto* list = new QListWidget(parent);
    switch (model.mode()) {
        case ui::SelectionMode::Single:
            list->setSelectionMode(QAbstractItemView::SingleSelection);
            break;
        case ui::SelectionMode::Simple:
            list->setSelectionMode(QAbstractItemView::MultiSelection);
            break;
        case ui::SelectionMode::Extended:
            list->setSelectionMode(QAbstractItemView::ExtendedSelection);
            break;
    }
    list->setUniformItemSizes(true);
    QObject::connect(
        list, &QListWidget::itemSelectionChanged, peer.guard(), [&peer, &binding, &model, list] {
            peer.userAction(
                [&model, list] {
                    const auto rows = std::min<std::size_t>(static_cast<std::size_t>(list->count()),
                                                            model.count());
                    for (std::size_t row = 0; row < rows; ++row) {
                        const bool selected = list->item(static_cast<int>(row))->isSelected();
                        if (selected != model.selected(row)) model.setSelected(row, selected);
                    }
                    model.click();
                },
                [&binding] { binding.note(ControlBinding::bit(Change::Selection)); });
        });
    return list;
}

QWidget* makeTabs(QtFormPeer& peer, ui::Control& control, QWidget* parent) {
    auto& model = static_cast<ui::TabControl&>(control);
    auto* strip = new TabStrip(parent);
    strip->setUsesScrollButtons(false);
    for (const std::string& caption : model.tabs())
        strip->addTab(new QWidget, QString::fromStdString(caption));
    QObject::connect(strip, &QTabWidget::currentChanged, peer.guard(), [&peer, &model](int tab) {
        peer.userAction([&model, tab] { model.selectTab(tab); });
    });
    return strip;
}

QWidget* makeLine(ui::Control& control, QWidget* parent) {
    auto* line = new QFrame(parent);
    const ui::Twips& at = control.position();
    const bool vertical = at.width == 0 && at.height != 0;
    line->setFrameShape(vertical ? QFrame::VLine : QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// A line is declared by its end points; its widget is a thin band around them.
QRect lineRect(const ui::Twips& at) {
    const QRect rect = pixelRect(at);
    if (at.width == 0 && at.height != 0)
        return QRect(rect.left() - 1, std::min(rect.top(), rect.bottom()), 3,
                     std::abs(rect.height()));
    return QRect(std::min(rect.left(), rect.right()), rect.top() - 1, std::abs(rect.width()), 3);
}

}  // namespace

void createWidget(QtFormPeer& peer, ControlBinding& binding, QWidget* parent) {
    ui::Control& control = binding.control();
    QWidget* widget = nullptr;
    switch (control.kind()) {
        case ControlKind::Label:
            widget = makeLabel(peer, control, parent);
            break;
        case ControlKind::Button:
            widget = makeButton(peer, control, parent);
            break;
        case ControlKind::CheckBox:
            widget = makeToggle(peer, binding, new WholeAreaButton<QCheckBox>(parent));
            break;
        case ControlKind::OptionButton: {
            auto* option = new WholeAreaButton<QRadioButton>(parent);
            // One option per container is the model's rule, not Qt's.
            option->setAutoExclusive(false);
            widget = makeToggle(peer, binding, option);
            break;
        }
        case ControlKind::Frame:
            widget = new QGroupBox(parent);
            break;
        case ControlKind::PictureBox:
            widget = new PictureWidget(parent);
            break;
        case ControlKind::ListBox:
            widget = makeList(peer, binding, parent);
            break;
        case ControlKind::TabControl:
            widget = makeTabs(peer, control, parent);
            break;
        case ControlKind::StatusBar:
            widget = new ClockStatusBar(parent);
            break;
        case ControlKind::Line:
            widget = makeLine(control, parent);
            break;
        case ControlKind::Timer: {
            auto* timer = new QTimer(peer.guard());
            timer->setObjectName(QString::fromStdString(control.name()));
            auto& model = static_cast<ui::Timer&>(control);
            QObject::connect(timer, &QTimer::timeout, peer.guard(),
                             [&peer, &model] { peer.userAction([&model] { model.tick(); }); });
            binding.setTimer(timer);
            return;
        }
    }
    widget->setObjectName(QString::fromStdString(control.name()));
    const QRect rect = control.kind() == ControlKind::Line ? lineRect(control.position())
                                                           : pixelRect(control.position());
    auto* strip = control.container() && control.container()->kind() == ControlKind::TabControl
                      ? static_cast<TabStrip*>(peer.binding(*control.container()).widget())
                      : nullptr;
    if (strip)
        strip->place(widget, rect);
    else
        widget->setGeometry(rect);
    binding.setWidget(widget);
}

QWidget* containerWidget(const ControlBinding& container, int page) {
    QWidget* widget = container.widget();
    if (container.control().kind() == ControlKind::TabControl) {
        auto* strip = static_cast<TabStrip*>(widget);
        return strip->widget(std::clamp(page, 0, std::max(0, strip->count() - 1)));
    }
    return widget;
}

QFont controlFont(const ui::Font& font, bool link) {
    QFont result = QApplication::font();
    if (!font.family.empty() && font.family != "MS Sans Serif")
        result.setFamily(QString::fromStdString(font.family));
    // Design sizes hold the declared point size; Qt maps points to pixels
    // for the screen.
    result.setPointSizeF(font.points > 0 ? font.points : 8.25);
    result.setBold(font.bold);
    result.setUnderline(link);
    return result;
}

void styleLabel(QLabel* label, const ui::Control& control) {
    // Only the roles set here override; the rest follows the window's theme.
    QPalette palette;
    if (control.whiteBackground) {
        palette.setColor(QPalette::Window, Qt::white);
        palette.setColor(QPalette::WindowText, Qt::black);
    }
    if (control.link) palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label->setPalette(palette);
    label->setAutoFillBackground(control.whiteBackground);
    if (control.link)
        label->setCursor(Qt::PointingHandCursor);
    else
        label->unsetCursor();
}

}  // namespace tarnwk::qt
