#include "Auxiliary/NSScrollViewEx.h"

#include "Auxiliary/DragForwarder.h"

NSScrollViewEx::NSScrollViewEx(QWidget* parent) : QScrollArea(parent), drags_(new DragForwarder(viewport(), nullptr))
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    viewport()->setAutoFillBackground(false);
}

NSScrollViewDragDelegate* NSScrollViewEx::delegate() const
{
    return drags_->delegate();
}

void NSScrollViewEx::setDelegate(NSScrollViewDragDelegate* delegate)
{
    drags_->setDelegate(delegate);
}
