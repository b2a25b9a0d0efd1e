// Tagged group box anchors and the clickable label.
#include "settings/dialogwidgets.h"

#include <QMouseEvent>
#include <QResizeEvent>

namespace pictoralia {

void TaggedGroupBox::AnchorToBottom(QWidget *child)
{
    m_anchors.push_back({child, height() - child->y()});
}

void TaggedGroupBox::resizeEvent(QResizeEvent *event)
{
    QGroupBox::resizeEvent(event);
    for (const Anchor &a : m_anchors)
        a.child->move(a.child->x(), height() - a.fromBottom);
}

void ClickableLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

} // namespace pictoralia
