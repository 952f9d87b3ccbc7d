#include "ListScreenDriver.h"

#include "app/ui/MainViewController.h"
#include "app/ui/NSOutlineViewEx.h"
#include "app/ui/OutlineRowDelegate.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QMessageBox>
#include <QTest>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

ListScreenDriver::ListScreenDriver(double discoveryDelay) : manager(UninstallAppManager::make())
{
    screen = new MainViewController(manager);
    screen->discoveryDelay = discoveryDelay;
    window = new QWidget;
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(screen->view());
    window->resize(860, 560);
    window->show();
    (void)QTest::qWaitForWindowExposed(window);
}

ListScreenDriver::~ListScreenDriver()
{
    delete window;
    delete screen;
}

bool ListScreenDriver::discover()
{
    manager->discoverApps();
    return QTest::qWaitFor([this] { return screen->mainView->isVisible(); }, 10000);
}

bool ListScreenDriver::scanAll()
{
    manager->runScanLoop();
    return QTest::qWaitFor([this] { return screen->isSizeSortable(); }, 10000);
}

UninstallApp* ListScreenDriver::appAt(const QModelIndex& index) const
{
    return appModel()->appAt(model()->mapToSource(index));
}

void ListScreenDriver::clickCheckBox(const QModelIndex& index)
{
    outline()->scrollTo(index);
    QStyleOptionViewItem option;
    option.rect = outline()->visualRect(index);
    const QPoint center = outline()->rowDelegate()->checkRect(option, index).center();
    QTest::mouseClick(outline()->viewport(), Qt::LeftButton, {}, center);
}

void ListScreenDriver::clickRow(const QModelIndex& index)
{
    outline()->scrollTo(index);
    const QRect rect = outline()->visualRect(index);
    QTest::mouseClick(outline()->viewport(), Qt::LeftButton, {}, QPoint(rect.left() + 200, rect.center().y()));
}

void ListScreenDriver::clickHeader(int section)
{
    QHeaderView* header = outline()->header();
    const int x = header->sectionViewportPosition(section) + header->sectionSize(section) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
}

QModelIndex rowNamed(const QAbstractItemModel* model, const QString& name, const QModelIndex& parent)
{
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        if (index.data().toString() == name)
            return index;
    }
    return {};
}

QStringList namesIn(const QAbstractItemModel* model, const QModelIndex& parent)
{
    QStringList names;
    for (int row = 0; row < model->rowCount(parent); ++row)
        names << model->index(row, 0, parent).data().toString();
    return names;
}

Qt::CheckState checkOf(const QModelIndex& index)
{
    return static_cast<Qt::CheckState>(index.data(Qt::CheckStateRole).toInt());
}

ShownRows shownRows(const QAbstractItemModel* model, const QModelIndex& parent)
{
    ShownRows rows;
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        rows.emplace_back(index, index.data().toString());
        for (auto& below : shownRows(model, index))
            rows.push_back(std::move(below));
    }
    return rows;
}

QAbstractButton* buttonTitled(QMessageBox* box, const QString& title)
{
    for (QAbstractButton* button : box->buttons()) {
        if (button->text() == title)
            return button;
    }
    return nullptr;
}

std::string differenceOf(const std::set<std::string>& before, const std::set<std::string>& after)
{
    std::string text;
    for (const auto& path : before)
        text += after.count(path) ? "" : "\n- " + path;
    for (const auto& path : after)
        text += before.count(path) ? "" : "\n+ " + path;
    return text;
}

namespace {

// Whether every kept row shows what it did; one no longer valid counts when `mayBeGone`.
bool shownAsBefore(const ShownRows& rows, bool mayBeGone)
{
    return std::all_of(rows.begin(), rows.end(), [mayBeGone](const auto& row) {
        return row.first.isValid() ? row.first.data().toString() == row.second : mayBeGone;
    });
}

}  // namespace

bool applyingExclusionsKeepsRows(UninstallAppManager& catalogue, const QAbstractItemModel* model, const ShownRows& rows)
{
    std::optional<bool> untilReset, steady;
    const auto connection = QObject::connect(model, &QAbstractItemModel::modelAboutToBeReset, [&] {
        if (!untilReset)
            untilReset = shownAsBefore(rows, false);
    });
    catalogue.applyExclusions([&] { steady = shownAsBefore(rows, true); });
    const bool changed = QTest::qWaitFor([&] { return steady.has_value(); }, 10000);
    QObject::disconnect(connection);
    return changed && untilReset.value_or(false) && *steady;
}
