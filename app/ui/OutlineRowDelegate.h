#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

class QTreeView;

// Draws the outline's rows, 36 points high: in the name column a check box (mixed allowed), the
// icon, the name, a spinner while an application is scanned, the reveal button of a file and the
// disclosure arrow at the column's right end; the size and date columns as plain labels in the
// model's colour. A click on a check box ticks through the model (setData with Qt::CheckStateRole:
// on when the box is off or mixed, else off); a click on a reveal button is reported.
class OutlineRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit OutlineRowDelegate(QTreeView* outline);

    // The leftovers screen shows the same rows without check boxes.
    bool showsCheckBoxes = true;
    // Each row on a rounded background of its own (the confirmation sheet's list).
    bool roundedRows = false;
    // The spinners' current frame; the screen advances it while scans run.
    int spinnerPhase = 0;

    static constexpr int kRowHeight = 36;

    QRect checkRect(const QStyleOptionViewItem& option, const QModelIndex& index) const;
    QRect revealRect(const QStyleOptionViewItem& option, const QModelIndex& index) const;
    // True when `pos` (viewport coordinates) lies on a check box or reveal button of the row.
    bool isControlAt(const QModelIndex& index, const QPoint& pos) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

signals:
    void revealClicked(const QModelIndex& index);

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    void paintName(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    void paintLabel(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    QStyleOptionViewItem optionFor(const QModelIndex& index) const;

    QPointer<QTreeView> outline_;
};
