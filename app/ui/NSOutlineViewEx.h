#pragma once

#include <QTreeView>

class OutlineRowDelegate;

// The outline of applications, groups and files. Rows are never selected: a click on an
// application or group row (outside its check box) is reported as rowClicked, and the screen
// expands or collapses it. No branch lines; the delegate draws the disclosure arrow at the right
// end of the name column. Column widths are kept in the user defaults under `autosaveName`.
// From the keyboard: the arrows move the current row (drawn with a focus ring) and open or close
// it, Space ticks it, Return is reported as returnPressed.
class NSOutlineViewEx : public QTreeView {
    Q_OBJECT
public:
    explicit NSOutlineViewEx(QWidget* parent = nullptr);

    OutlineRowDelegate* rowDelegate() const { return delegate_; }
    // Restores the saved column widths and saves them on every change.
    void setAutosaveTableColumns(const QString& autosaveName);

signals:
    void rowClicked(const QModelIndex& index);
    void returnPressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

private:
    OutlineRowDelegate* delegate_;
    QString autosaveName_;
};
