#include "platform/qt/ControlWidgets.h"

#include <QEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <QTime>

#include "platform/qt/Artwork.h"

namespace tarnwk::qt {

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click && onClick) onClick();
}

void PictureWidget::setPicture(const std::string& name) {
    if (name == name_) return;
    name_ = name;
    cache_ = {};
    update();
}

void PictureWidget::paintEvent(QPaintEvent*) {
    const qreal ratio = devicePixelRatioF();
    // Drawn again only when the size or the screen changes.
    if (cache_.isNull() || cache_.deviceIndependentSize().toSize() != size() ||
        cache_.devicePixelRatio() != ratio)
        cache_ = artwork(name_, size(), ratio);
    QPainter painter(this);
    painter.drawPixmap(0, 0, cache_);
}

void TabStrip::place(QWidget* child, QRect rect) {
    placed_.push_back({child, rect});
    child->setGeometry(rect.translated(-pageOrigin()));
}

QPoint TabStrip::pageOrigin() {
    // Once shown, the pages sit where the tab widget laid them out; before,
    // where its style will put them.
    if (isVisible() && currentWidget()) return currentWidget()->mapTo(this, QPoint(0, 0));
    QStyleOptionTabWidgetFrame option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this).topLeft();
}

void TabStrip::replace() {
    const QPoint origin = pageOrigin();
    for (const Placed& placed : placed_) placed.child->move(placed.rect.topLeft() - origin);
}

void TabStrip::showEvent(QShowEvent* event) {
    QTabWidget::showEvent(event);
    replace();
}

void TabStrip::resizeEvent(QResizeEvent* event) {
    QTabWidget::resizeEvent(event);
    replace();
}

void TabStrip::changeEvent(QEvent* event) {
    QTabWidget::changeEvent(event);
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange) replace();
}

ClockStatusBar::ClockStatusBar(QWidget* parent) : QStatusBar(parent), time_(new QLabel(this)) {
    setSizeGripEnabled(false);
    addPermanentWidget(time_);
    tick();
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
    timer_.start(1000);
}

void ClockStatusBar::tick() {
    const QString now = QLocale::system().toString(QTime::currentTime(), QLocale::ShortFormat);
    if (time_->text() != now) time_->setText(now);
}

}  // namespace tarnwk::qt
