#include "Auxiliary/OverlayScrollView.h"

#include "Auxiliary/DragForwarder.h"
#include "Auxiliary/OverlayScroller.h"

OverlayScrollView::OverlayScrollView(QWidget* parent)
    : QScrollArea(parent), scroller_(OverlayScroller::attach(this)), drags_(new DragForwarder(viewport(), nullptr))
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
}

NSScrollViewDragDelegate* OverlayScrollView::delegate() const
{
    return drags_->delegate();
}

void OverlayScrollView::setDelegate(NSScrollViewDragDelegate* delegate)
{
    drags_->setDelegate(delegate);
}
