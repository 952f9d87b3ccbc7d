#pragma once

#include <QScrollArea>

class DragForwarder;
class NSScrollViewDragDelegate;

// A plain scroll area (the platform's own scroll bars) whose drags go to `delegate`.
class NSScrollViewEx : public QScrollArea {
    Q_OBJECT
public:
    explicit NSScrollViewEx(QWidget* parent = nullptr);

    NSScrollViewDragDelegate* delegate() const;
    void setDelegate(NSScrollViewDragDelegate* delegate);

private:
    DragForwarder* drags_;
};
