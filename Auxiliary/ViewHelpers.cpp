#include "Auxiliary/ViewHelpers.h"

#include "Auxiliary/AppFonts.h"
#include "Auxiliary/DragForwarder.h"
#include "Auxiliary/OverlayScrollView.h"
#include "Auxiliary/OverlayScroller.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPropertyAnimation>
#include <QTreeView>

namespace views {

TableColumn makeTableColumn(const QString& title, const QString& identifier, int width)
{
    TableColumn column;
    column.identifier = identifier;
    column.title = title;
    column.width = width;
    column.headerFont = fonts::appFont(13);
    return column;
}

void setFocusRingType(QMessageBox* alert, Qt::FocusPolicy type)
{
    if (!alert)
        return;
    for (QAbstractButton* button : alert->buttons())
        button->setFocusPolicy(type);
}

OverlayScrollView* makeScrollView(QWidget* documentView, NSScrollViewDragDelegate* delegate)
{
    auto* view = new OverlayScrollView;
    view->setDelegate(delegate);
    if (documentView)
        view->setWidget(documentView);
    return view;
}

void makeScrollView(QAbstractScrollArea* area, NSScrollViewDragDelegate* delegate)
{
    if (!area)
        return;
    area->setFrameShape(QFrame::NoFrame);
    area->setAutoFillBackground(false);
    area->viewport()->setAutoFillBackground(false);
    OverlayScroller::attach(area);
    new DragForwarder(area->viewport(), delegate);
}

void shake(QWidget* view)
{
    if (!view)
        return;
    auto* animation = new QPropertyAnimation(view, "pos", view);
    const QPoint origin = view->pos();
    animation->setDuration(400);
    const int offsets[] = {-8, 8, -6, 6, -3, 3};
    for (int i = 0; i < 6; ++i)
        animation->setKeyValueAt((i + 1) / 7.0, origin + QPoint(offsets[i], 0));
    animation->setStartValue(origin);
    animation->setEndValue(origin);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

QTreeView* makeOutlineView(QWidget* parent)
{
    auto* outline = new QTreeView(parent);
    outline->setSelectionMode(QAbstractItemView::NoSelection);
    outline->setUniformRowHeights(true);
    outline->setFrameShape(QFrame::NoFrame);
    return outline;
}

}  // namespace views
