#include "Auxiliary/DragForwarder.h"

#include "Auxiliary/NSScrollViewDragDelegate.h"

#include <QDragEnterEvent>
#include <QWidget>

Qt::DropAction NSScrollViewDragDelegate::dragEnter(QDragEnterEvent*) { return Qt::CopyAction; }
void NSScrollViewDragDelegate::dragExit(QDragLeaveEvent*) {}
bool NSScrollViewDragDelegate::performDragOperation(QDropEvent*) { return true; }

DragForwarder::DragForwarder(QWidget* viewport, NSScrollViewDragDelegate* delegate)
    : QObject(viewport), delegate_(delegate)
{
    viewport->setAcceptDrops(true);
    viewport->installEventFilter(this);
}

bool DragForwarder::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto* enter = static_cast<QDragEnterEvent*>(event);
        const Qt::DropAction action = delegate_ ? delegate_->dragEnter(enter) : Qt::CopyAction;
        if (action == Qt::IgnoreAction) {
            enter->ignore();
        } else {
            enter->setDropAction(action);
            enter->accept();
        }
        return true;
    }
    case QEvent::DragMove:
        event->accept();
        return true;
    case QEvent::DragLeave:
        if (delegate_)
            delegate_->dragExit(static_cast<QDragLeaveEvent*>(event));
        return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const bool done = delegate_ ? delegate_->performDragOperation(drop) : true;
        if (done)
            drop->acceptProposedAction();
        else
            drop->ignore();
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
