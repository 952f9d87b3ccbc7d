#include "Auxiliary/ViewHelpers.h"

#include "Auxiliary/AppFonts.h"
#include "Auxiliary/DragForwarder.h"
#include "Auxiliary/OverlayScrollView.h"
#include "Auxiliary/OverlayScroller.h"

#include <QAbstractButton>
#include <QMessageBox>
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

QTreeView* makeOutlineView(QWidget* parent)
{
    auto* outline = new QTreeView(parent);
    outline->setSelectionMode(QAbstractItemView::NoSelection);
    outline->setUniformRowHeights(true);
    outline->setFrameShape(QFrame::NoFrame);
    return outline;
}

}  // namespace views
