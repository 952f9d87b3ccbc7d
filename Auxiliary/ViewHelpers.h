#pragma once

#include <QFont>
#include <QString>

class NSScrollViewDragDelegate;
class OverlayScrollView;
class QAbstractScrollArea;
class QMessageBox;
class QTreeView;
class QWidget;

// One column of an outline: its identifier, header title (13-point regular, left-aligned) and width.
struct TableColumn {
    QString identifier;
    QString title;
    int width = 100;
    QFont headerFont;
    Qt::Alignment headerAlignment = Qt::AlignLeft | Qt::AlignVCenter;
};

namespace views {

TableColumn makeTableColumn(const QString& title, const QString& identifier, int width);

// Sets the focus policy of every button of the alert, in button order.
void setFocusRingType(QMessageBox* alert, Qt::FocusPolicy type);

// A scroll view over `documentView` with an overlay scroller, no background, and drags reported
// to `delegate` (may be null).
OverlayScrollView* makeScrollView(QWidget* documentView, NSScrollViewDragDelegate* delegate);
// The same look for a scroll area that is its own view (an outline): overlay scroller, no frame,
// no background, drags to `delegate`.
void makeScrollView(QAbstractScrollArea* area, NSScrollViewDragDelegate* delegate);

// Shakes a widget sideways (a refused entry) and puts it back where it was; returns at once.
void shake(QWidget* view);

// A tree view as the screens want their outlines: no frame, no selection, uniform rows.
QTreeView* makeOutlineView(QWidget* parent = nullptr);

}  // namespace views
