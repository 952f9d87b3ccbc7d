#pragma once

#include <Qt>

class QDragEnterEvent;
class QDragLeaveEvent;
class QDropEvent;

// What a scroll view made by makeScrollView reports drags to. Every operation is optional: the
// defaults answer as if there were no delegate.
class NSScrollViewDragDelegate {
public:
    virtual ~NSScrollViewDragDelegate() = default;
    virtual Qt::DropAction dragEnter(QDragEnterEvent* event);
    virtual void dragExit(QDragLeaveEvent* event);
    virtual bool performDragOperation(QDropEvent* event);
};
