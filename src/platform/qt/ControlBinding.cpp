#include "platform/qt/ControlBinding.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStringList>

#include "platform/qt/ControlWidgets.h"
#include "platform/qt/QtFormPeer.h"
#include "platform/qt/WidgetFactory.h"

namespace tarnwk::qt {

namespace {

using ui::Change;
using ui::ControlKind;

bool sameFont(const ui::Font& a, const ui::Font& b) {
    return a.bold == b.bold && a.points == b.points && a.family == b.family;
}

}  // namespace

void ControlBinding::update(ui::Control&, ui::Change change) {
    // A timer has nothing to paint; it follows its control at once.
    if (timer_) {
        applyTimer();
        return;
    }
    note(bit(change));
}

void ControlBinding::note(unsigned changes) {
    if (changes_.note(changes)) peer_.noteDirty(*this);
}

void ControlBinding::flush() {
    if (const unsigned changes = changes_.take()) apply(changes);
}

void ControlBinding::applyAll() {
    apply(changes_.takeAll());
}

void ControlBinding::apply(unsigned changes) {
    if (timer_) {
        applyTimer();
        return;
    }
    if (!widget_) return;
    const QSignalBlocker blocker(widget_);
    if (changes & bit(Change::Visible)) widget_->setVisible(control_.visible());
    changes = changes_.forVisibility(changes, control_.visible());
    if (changes & bit(Change::Enabled)) widget_->setEnabled(control_.enabled());
    applyLooks();
    if (changes & bit(Change::Caption)) applyCaption();
    if (changes & bit(Change::Value)) applyValue();
    if (changes & bit(Change::Items)) applyItems();
    if (changes & (bit(Change::Items) | bit(Change::Selection))) applySelection();
    if (changes & bit(Change::Tab)) applyTab();
}

void ControlBinding::applyLooks() {
    // Fonts, tips and the like are plain fields of the control, set while
    // the form is declared or loaded; they are compared at each flush.
    const bool fontChanged =
        !looks_.applied || !sameFont(looks_.font, control_.font) || looks_.link != control_.link;
    if (fontChanged) widget_->setFont(controlFont(control_.font, control_.link));
    if (!looks_.applied || looks_.toolTip != control_.toolTip)
        widget_->setToolTip(QString::fromStdString(control_.toolTip));
    if (control_.kind() == ControlKind::Label &&
        (!looks_.applied || looks_.link != control_.link ||
         looks_.whiteBackground != control_.whiteBackground))
        styleLabel(static_cast<QLabel*>(widget_), control_);
    if (control_.kind() == ControlKind::PictureBox)
        static_cast<PictureWidget*>(widget_)->setPicture(control_.picture);
    if (control_.kind() == ControlKind::Label && fontChanged) applyCaption();
    looks_ = {control_.font,    control_.toolTip,
              control_.link,    control_.whiteBackground,
              control_.picture, true};
}

void ControlBinding::applyCaption() {
    const QString caption = QString::fromStdString(control_.caption());
    switch (control_.kind()) {
        case ControlKind::Label: {
            auto* label = static_cast<QLabel*>(widget_);
            // Wrapped when the label holds more than one line, as a label's
            // text flows within its width.
            const bool wrap = caption.contains(QLatin1Char('\n')) ||
                              label->height() >= 2 * QFontMetrics(label->font()).lineSpacing();
            if (label->wordWrap() != wrap) label->setWordWrap(wrap);
            label->setText(caption);
            break;
        }
        case ControlKind::Button:
            static_cast<QPushButton*>(widget_)->setText(caption);
            break;
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
            static_cast<QAbstractButton*>(widget_)->setText(caption);
            break;
        case ControlKind::Frame:
            static_cast<QGroupBox*>(widget_)->setTitle(caption);
            break;
        default:
            break;
    }
}

void ControlBinding::applyValue() {
    if (control_.kind() == ControlKind::CheckBox) {
        const int value = static_cast<ui::CheckBox&>(control_).value();
        auto* box = static_cast<QCheckBox*>(widget_);
        // 2 is the greyed state of a check box.
        if (value == 2) box->setTristate(true);
        box->setCheckState(value == 0   ? Qt::Unchecked
                           : value == 1 ? Qt::Checked
                                        : Qt::PartiallyChecked);
    } else if (control_.kind() == ControlKind::OptionButton) {
        static_cast<QRadioButton*>(widget_)->setChecked(
            static_cast<ui::OptionButton&>(control_).value());
    }
}

void ControlBinding::applyItems() {
    if (control_.kind() != ControlKind::ListBox) return;
    const auto& items = static_cast<ui::ListBox&>(control_).items();
    auto* list = static_cast<QListWidget*>(widget_);
    // Rows are mostly added at the end (found items during a walk): append
    // those, and rebuild only when earlier rows changed.
    std::size_t kept = 0;
    if (rows_.size() <= items.size() && static_cast<std::size_t>(list->count()) == rows_.size())
        while (kept < rows_.size() && rows_[kept] == items[kept]) ++kept;
    if (kept < rows_.size() || static_cast<std::size_t>(list->count()) != kept) {
        list->clear();
        rows_.clear();
        kept = 0;
    }
    QStringList added;
    added.reserve(static_cast<qsizetype>(items.size() - kept));
    for (std::size_t i = kept; i < items.size(); ++i)
        added.append(QString::fromStdString(items[i]));
    if (!added.isEmpty()) list->addItems(added);
    rows_.insert(rows_.end(), items.begin() + static_cast<std::ptrdiff_t>(kept), items.end());
}

void ControlBinding::applySelection() {
    if (control_.kind() != ControlKind::ListBox) return;
    const auto& model = static_cast<ui::ListBox&>(control_);
    auto* list = static_cast<QListWidget*>(widget_);
    const int rows = std::min(list->count(), static_cast<int>(model.count()));
    for (int row = 0; row < rows; ++row) {
        QListWidgetItem* item = list->item(row);
        const bool selected = model.selected(static_cast<std::size_t>(row));
        if (item->isSelected() != selected) item->setSelected(selected);
    }
}

void ControlBinding::applyTab() {
    if (control_.kind() != ControlKind::TabControl) return;
    auto* strip = static_cast<TabStrip*>(widget_);
    const int tab = static_cast<ui::TabControl&>(control_).tab();
    if (strip->currentIndex() != tab) strip->setCurrentIndex(tab);
}

void ControlBinding::applyTimer() {
    const auto& model = static_cast<ui::Timer&>(control_);
    const bool run = model.enabled() && model.interval() > 0;
    if (timer_->interval() != model.interval()) timer_->setInterval(model.interval());
    if (run && !timer_->isActive())
        timer_->start();
    else if (!run && timer_->isActive())
        timer_->stop();
}

}  // namespace tarnwk::qt
