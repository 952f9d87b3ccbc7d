#pragma once

#include <QTreeView>

class OutlineRowDelegate;

// The outline of applications, groups and files. Rows are never selected: a click on an
// application or group row (outside its check box) is reported as rowClicked, and the screen
// expands or collapses it. No branch lines; the delegate draws the disclosure arrow at the right
// end of the name column. Column widths are kept in the user defaults under `autosaveName`.
class NSOutlineViewEx : public QTreeView {
    Q_OBJECT
public:
    explicit NSOutlineViewEx(QWidget* parent = nullptr);

    OutlineRowDelegate* rowDelegate() const { return delegate_; }
    // Restores the saved column widths and saves them on every change.
    void setAutosaveTableColumns(const QString& autosaveName);

signals:
    void rowClicked(const QModelIndex& index);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

private:
    OutlineRowDelegate* delegate_;
    QString autosaveName_;
};
