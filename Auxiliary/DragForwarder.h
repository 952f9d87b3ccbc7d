#pragma once

#include <QObject>
#include <QPointer>

class NSScrollViewDragDelegate;

// Forwards the drag events that reach a scroll view's viewport to its drag delegate: entered gives
// the delegate's operation (the generic copy without a delegate), exited is passed on, and a drop
// is performed by the delegate (accepted without one).
class DragForwarder : public QObject {
    Q_OBJECT
public:
    DragForwarder(QWidget* viewport, NSScrollViewDragDelegate* delegate);
    void setDelegate(NSScrollViewDragDelegate* delegate) { delegate_ = delegate; }
    NSScrollViewDragDelegate* delegate() const { return delegate_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    NSScrollViewDragDelegate* delegate_;
};
