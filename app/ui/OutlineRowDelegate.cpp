#include "app/ui/OutlineRowDelegate.h"

#include "Auxiliary/Appearance.h"

#include "app/ui/AppImages.h"
#include "app/ui/AppListModel.h"
#include "app/ui/SpinnerView.h"
#include "Auxiliary/AppFonts.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTreeView>

namespace {

constexpr int kLeading = 6;
constexpr int kCheckSide = 16;
constexpr int kGap = 8;
constexpr int kDisclosureInset = 30;  // the arrow sits this far from the name column's right end
constexpr int kRevealSide = 20;

int iconSide(AppListModel::Kind kind)
{
    return kind == AppListModel::Kind::app ? 28 : 20;
}

AppListModel::Kind kindOf(const QModelIndex& index)
{
    return static_cast<AppListModel::Kind>(index.data(AppListModel::KindRole).toInt());
}

}  // namespace

OutlineRowDelegate::OutlineRowDelegate(QTreeView* outline) : QStyledItemDelegate(outline), outline_(outline) {}

QSize OutlineRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return {QStyledItemDelegate::sizeHint(option, index).width(), kRowHeight};
}

QRect OutlineRowDelegate::checkRect(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (!showsCheckBoxes || index.column() != AppListModel::kNameColumn)
        return {};
    return {option.rect.left() + kLeading, option.rect.center().y() - kCheckSide / 2 + 1, kCheckSide, kCheckSide};
}

QRect OutlineRowDelegate::revealRect(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (index.column() != AppListModel::kNameColumn || kindOf(index) != AppListModel::Kind::file)
        return {};
    return {option.rect.right() - kDisclosureInset - kRevealSide, option.rect.center().y() - kRevealSide / 2 + 1,
            kRevealSide, kRevealSide};
}

QStyleOptionViewItem OutlineRowDelegate::optionFor(const QModelIndex& index) const
{
    QStyleOptionViewItem option;
    if (outline_) {
        option.initFrom(outline_->viewport());
        option.rect = outline_->visualRect(index);
    }
    return option;
}

bool OutlineRowDelegate::isControlAt(const QModelIndex& index, const QPoint& pos) const
{
    if (!index.isValid())
        return false;
    const QStyleOptionViewItem option = optionFor(index);
    return checkRect(option, index).contains(pos) || revealRect(option, index).contains(pos);
}

bool OutlineRowDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                                     const QModelIndex& index)
{
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease &&
        event->type() != QEvent::MouseButtonDblClick)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton)
        return false;
    const QPoint pos = mouse->position().toPoint();
    const bool onCheck = checkRect(option, index).contains(pos);
    const bool onReveal = revealRect(option, index).contains(pos);
    if (!onCheck && !onReveal)
        return false;
    if (event->type() == QEvent::MouseButtonRelease) {
        if (onCheck && model && (index.flags() & Qt::ItemIsUserCheckable)) {
            const bool on = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
            model->setData(index, on ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
        } else if (onReveal) {
            emit revealClicked(index);
        }
    }
    return true;
}

void OutlineRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (index.column() == AppListModel::kNameColumn)
        paintName(painter, option, index);
    else
        paintLabel(painter, option, index);
}

void OutlineRowDelegate::paintName(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const AppListModel::Kind kind = kindOf(index);
    const QRect rect = option.rect;
    const QColor text = option.palette.color(QPalette::Text);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    // The keyboard's row, while the list has the focus.
    if ((option.state & QStyle::State_HasFocus) && outline_ && outline_->hasFocus()) {
        const int width = outline_->viewport()->width() - rect.left();
        QPen ring(option.palette.color(QPalette::Highlight), 2);
        painter->setPen(ring);
        painter->drawRoundedRect(QRectF(rect.left() + 1, rect.top() + 1, width - 2, rect.height() - 2), 5, 5);
    }
    if (roundedRows) {
        QPainterPath background;
        background.addRoundedRect(QRectF(rect).adjusted(0, 2, 0, -2), 8, 8);
        painter->fillPath(background, option.palette.color(QPalette::AlternateBase));
    }
    int x = rect.left() + kLeading;

    if (showsCheckBoxes && index.data(AppListModel::ProtectedRole).toBool()) {
        // A protected application's rows show a lock where the box would be.
        const QRect lock = checkRect(option, index);
        AppImages::named(QStringLiteral("lock")).paint(painter, lock);
        x = lock.right() + 1 + kGap;
    } else if (showsCheckBoxes) {
        QStyleOptionButton check;
        check.rect = checkRect(option, index);
        check.palette = appearance::withVisibleCheckBoxBorder(option.palette);
        const auto state = static_cast<Qt::CheckState>(index.data(Qt::CheckStateRole).toInt());
        check.state = state == Qt::Checked ? QStyle::State_On
                      : state == Qt::PartiallyChecked ? QStyle::State_NoChange
                                                      : QStyle::State_Off;
        if (index.flags() & Qt::ItemIsUserCheckable)
            check.state |= QStyle::State_Enabled;
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &check, painter, widget);
        x = check.rect.right() + 1 + kGap;
    }

    const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
    if (!icon.isNull()) {
        const int side = iconSide(kind);
        icon.paint(painter, QRect(x, rect.center().y() - side / 2 + 1, side, side));
        x += side + kGap;
    }

    int right = rect.right() - kDisclosureInset - 4;
    const QRect reveal = revealRect(option, index);
    if (!reveal.isNull()) {
        right = reveal.left() - kGap;
        AppImages::named(QStringLiteral("search")).paint(painter, reveal);
    }

    const bool scanning = kind == AppListModel::Kind::app && !index.data(AppListModel::ReadyRole).toBool();
    QFont font = kind == AppListModel::Kind::group ? fonts::appFont(15) : fonts::appFont(13);
    if (kind == AppListModel::Kind::app)
        font = fonts::appMediumFont(13);
    painter->setFont(font);
    painter->setPen(scanning ? option.palette.color(QPalette::Disabled, QPalette::Text) : text);
    const QString name = index.data(Qt::DisplayRole).toString();
    const int spinnerSide = scanning ? 16 + kGap : 0;
    // A file says where it lies on a second line, in the secondary colour.
    const QString location = kind == AppListModel::Kind::file ? index.data(AppListModel::LocationRole).toString() : QString();
    QRect nameRect(x, rect.top(), qMax(0, right - x - spinnerSide), rect.height());
    if (!location.isEmpty()) {
        const QRect locationRect(nameRect.left(), rect.center().y() + 1, nameRect.width(), rect.height() / 2 - 2);
        nameRect.setBottom(rect.center().y() + 1);
        painter->save();
        painter->setFont(fonts::appFont(11));
        painter->setPen(appearance::secondaryTextColor(option.palette));
        painter->drawText(locationRect, Qt::AlignTop | Qt::AlignLeft,
                          painter->fontMetrics().elidedText(location, Qt::ElideMiddle, locationRect.width()));
        painter->restore();
    }
    const QString shown = painter->fontMetrics().elidedText(name, Qt::ElideMiddle, nameRect.width());
    painter->drawText(nameRect, (location.isEmpty() ? Qt::AlignVCenter : Qt::AlignBottom) | Qt::AlignLeft, shown);
    if (scanning) {
        const int nameEnd = x + painter->fontMetrics().horizontalAdvance(shown) + kGap;
        SpinnerView::paint(*painter, QRectF(nameEnd, rect.center().y() - 7, 16, 16), spinnerPhase, text);
    }

    const bool expandable = outline_ && outline_->model() && outline_->model()->hasChildren(index) &&
                            kind != AppListModel::Kind::file;
    if (expandable) {
        const bool open = outline_->isExpanded(index);
        QStyleOption arrow;
        arrow.rect = QRect(rect.right() - kDisclosureInset + 8, rect.center().y() - 6, 12, 12);
        arrow.palette = option.palette;
        arrow.state = QStyle::State_Enabled;
        QApplication::style()->drawPrimitive(open ? QStyle::PE_IndicatorArrowDown : QStyle::PE_IndicatorArrowRight,
                                             &arrow, painter);
    }
    painter->restore();
}

void OutlineRowDelegate::paintLabel(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty())
        return;
    painter->save();
    const QVariant colour = index.data(Qt::ForegroundRole);
    painter->setPen(colour.isValid() ? colour.value<QColor>() : option.palette.color(QPalette::Text));
    painter->setFont(fonts::appFont(13));
    painter->drawText(option.rect.adjusted(8, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, text);
    painter->restore();
}
