#pragma once

#include <QScrollArea>

class DragForwarder;
class NSScrollViewDragDelegate;
class OverlayScroller;

// A scroll area whose vertical scroller lies over the content (the content takes the full width)
// and whose drags go to `delegate`. No background of its own.
class OverlayScrollView : public QScrollArea {
    Q_OBJECT
public:
    explicit OverlayScrollView(QWidget* parent = nullptr);

    NSScrollViewDragDelegate* delegate() const;
    void setDelegate(NSScrollViewDragDelegate* delegate);
    OverlayScroller* scroller() const { return scroller_; }

private:
    OverlayScroller* scroller_;
    DragForwarder* drags_;
};
