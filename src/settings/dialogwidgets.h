// Small widgets of the configuration dialog: a group box with a tag and bottom-anchored
// children, a label that can be clicked, and a page control with fixed-size tabs.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <vector>

namespace pictoralia {

// A group box that keeps an integer tag (the size, position and order choices live in
// the tags of their groups) and keeps the children anchored to its bottom edge at their
// distance from it when its height changes.
class TaggedGroupBox final : public QGroupBox {
    Q_OBJECT
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
public:
    explicit TaggedGroupBox(const QString &title, QWidget *parent = nullptr) : QGroupBox(title, parent) {}

    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }

    // From now on child keeps its current distance from the bottom edge.
    void AnchorToBottom(QWidget *child);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Anchor {
        QWidget *child;
        int fromBottom;
    };
    int m_tag = 0;
    std::vector<Anchor> m_anchors;
};

// A label that reports a click of the left button released over it.
class ClickableLabel final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};

// Tabs of one fixed size, as the page control is designed.
class FixedTabBar final : public QTabBar {
    Q_OBJECT
public:
    FixedTabBar(QSize tabSize, QWidget *parent = nullptr) : QTabBar(parent), m_tabSize(tabSize) {}

protected:
    QSize tabSizeHint(int) const override { return m_tabSize; }
    QSize minimumTabSizeHint(int) const override { return m_tabSize; }

private:
    QSize m_tabSize;
};

// A page control whose tabs all have one size and light up under the mouse.
class FixedTabWidget final : public QTabWidget {
    Q_OBJECT
public:
    FixedTabWidget(QSize tabSize, QWidget *parent = nullptr) : QTabWidget(parent)
    {
        auto *bar = new FixedTabBar(tabSize, this);
        bar->setAttribute(Qt::WA_Hover);
        setTabBar(bar);
    }
};

} // namespace pictoralia
