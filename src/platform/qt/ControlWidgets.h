// Widgets for the controls that Qt has no exact match for. They report what
// the user did through plain callbacks, so they need no meta-object code.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPixmap>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

namespace tarnwk::qt {

// A label that reports a left click, as any label of a form can be clicked.
class ClickableLabel final : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> onClick;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

// Check boxes and option buttons that take a click anywhere in their
// rectangle, as a form's controls do, not only on the box and its text.
template <typename Button>
class WholeAreaButton final : public Button {
public:
    using Button::Button;

protected:
    bool hitButton(const QPoint& position) const override {
        return this->rect().contains(position);
    }
};

// A picture box: draws a named picture to fit its size, sharp on any screen.
class PictureWidget final : public QWidget {
public:
    using QWidget::QWidget;
    void setPicture(const std::string& name);
    const std::string& picture() const { return name_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string name_;
    QPixmap cache_;
};

// A tab control whose pages hold controls placed relative to the whole tab
// control, tab strip included, as forms declare them.
class TabStrip final : public QTabWidget {
public:
    using QTabWidget::QTabWidget;
    // Puts `child` (already on one of the pages) at `rect`, given in the tab
    // control's own coordinates; kept there when the pages move.
    void place(QWidget* child, QRect rect);
    // Where the pages start inside the tab control.
    QPoint pageOrigin();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void replace();
    struct Placed {
        QWidget* child;
        QRect rect;
    };
    std::vector<Placed> placed_;
};

// A status bar whose one panel shows the time of day in the user's format.
class ClockStatusBar final : public QStatusBar {
public:
    explicit ClockStatusBar(QWidget* parent);

private:
    void tick();
    QLabel* time_;
    QTimer timer_;
};

}  // namespace tarnwk::qt
