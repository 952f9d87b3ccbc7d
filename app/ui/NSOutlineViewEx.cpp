#include "app/ui/NSOutlineViewEx.h"

#include "app/ui/OutlineRowDelegate.h"
#include "platform/UserDefaults.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

NSOutlineViewEx::NSOutlineViewEx(QWidget* parent) : QTreeView(parent), delegate_(new OutlineRowDelegate(this))
{
    setItemDelegate(delegate_);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::StrongFocus);
    setAlternatingRowColors(true);
    setUniformRowHeights(true);
    setRootIsDecorated(false);
    setIndentation(20);
    setExpandsOnDoubleClick(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setMouseTracking(true);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(true);
    header()->setSortIndicatorShown(false);
    header()->setSectionsClickable(true);
}

void NSOutlineViewEx::setAutosaveTableColumns(const QString& autosaveName)
{
    autosaveName_ = autosaveName;
    const std::string key = "NSOutlineView Columns " + autosaveName.toStdString();
    if (const auto saved = platform::UserDefaults::standard().objectForKey(key)) {
        if (const auto* data = saved->get<plist::Data>())
            header()->restoreState(QByteArray::fromStdString(data->bytes));
    }
    // A drag resizes many times; the widths are written once it has settled.
    auto* save = new QTimer(this);
    save->setSingleShot(true);
    save->setInterval(400);
    connect(save, &QTimer::timeout, this, [this, key] {
        const QByteArray state = header()->saveState();
        platform::UserDefaults::standard().setObject(key, plist::Data{state.toStdString()});
    });
    connect(header(), &QHeaderView::sectionResized, save, qOverload<>(&QTimer::start));
}

void NSOutlineViewEx::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid() && !delegate_->isControlAt(index, event->position().toPoint())) {
        emit rowClicked(index);
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
}

void NSOutlineViewEx::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A second click toggles again, as a second single click would.
    mousePressEvent(event);
}

void NSOutlineViewEx::keyPressEvent(QKeyEvent* event)
{
    const QModelIndex current = currentIndex().siblingAtColumn(0);
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        if (current.isValid() && (current.flags() & Qt::ItemIsUserCheckable)) {
            const bool on = current.data(Qt::CheckStateRole).toInt() == Qt::Checked;
            model()->setData(current, on ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
        }
        event->accept();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        emit returnPressed();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void NSOutlineViewEx::focusInEvent(QFocusEvent* event)
{
    // Coming in by Tab, the keyboard starts on the first row.
    if (!currentIndex().isValid() && model() && model()->rowCount() > 0)
        setCurrentIndex(model()->index(0, 0));
    QTreeView::focusInEvent(event);
}

void NSOutlineViewEx::drawBranches(QPainter*, const QRect&, const QModelIndex&) const {}
