#include "agent/RemainsPanelView.h"

#include "Auxiliary/AppIconCache.h"
#include "Auxiliary/ByteCountText.h"
#include "agent/ColorButtonStyle.h"
#include "platform/PathUtil.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kNamesShown = 2;
constexpr int kLeftNamesShown = 3;

QString bytes(std::int64_t count)
{
    return localizedByteCount(count);
}

QLabel* secondaryLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    // The secondary label colour: the text colour, faded.
    QPalette faded = label->palette();
    faded.setColor(QPalette::WindowText, faded.color(QPalette::PlaceholderText));
    label->setPalette(faded);
    return label;
}

QPushButton* accentButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    auto* style = new ColorButtonStyle;
    style->setParent(button);
    button->setStyle(style);
    return button;
}

}  // namespace

RemainsPanelView::RemainsPanelView(std::vector<RemovedApplication> applications, std::function<void()> onRemove,
                                   std::function<void()> onReview, std::function<void()> onNotNow, QWidget* parent)
    : RoundedPanel(parent),
      applications_(std::move(applications)),
      onRemove_(std::move(onRemove)),
      onReview_(std::move(onReview)),
      onNotNow_(std::move(onNotNow))
{
    setFixedWidth(panelWidth);

    auto* icon = new QLabel(this);
    icon->setObjectName("applicationIcon");
    const std::string iconPath = applications_.empty() ? "" : applications_.front().iconPath;
    const QIcon image = AppIconCache::iconFor(platform::FileIcon{iconPath, "application-x-executable"}, true);
    icon->setPixmap(image.pixmap(QSize(iconSize, iconSize), devicePixelRatioF()));
    icon->setFixedSize(iconSize, iconSize);

    headline_ = new QLabel(this);
    headline_->setObjectName("headline");
    headline_->setWordWrap(true);
    QFont bold = headline_->font();
    bold.setWeight(QFont::DemiBold);
    headline_->setFont(bold);
    message_ = secondaryLabel(this);
    message_->setObjectName("message");

    auto* texts = new QVBoxLayout;
    texts->setSpacing(6);
    texts->addWidget(headline_);
    texts->addWidget(message_);
    auto* top = new QHBoxLayout;
    top->setSpacing(12);
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);

    buttons_ = makeButtonRow();
    done_ = makeDoneRow();
    done_->hide();

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(14);
    column->addLayout(top);
    column->addWidget(buttons_);
    column->addWidget(done_);

    setHeadline(headline());
    message_->setText(message());
    fitWidth(column->contentsMargins().left() + column->contentsMargins().right());
}

void RemainsPanelView::fitWidth(int margins)
{
    // Longer languages make longer buttons: the panel grows to hold every button of either row
    // (the Put Back of the outcome row included) rather than squeeze them.
    const auto rowWidth = [](QWidget* row) {
        const auto* layout = qobject_cast<QHBoxLayout*>(row->layout());
        int width = layout->contentsMargins().left() + layout->contentsMargins().right();
        for (const QPushButton* button : row->findChildren<QPushButton*>())
            width += button->sizeHint().width() + std::max(layout->spacing(), 6);
        return width;
    };
    setFixedWidth(std::max({panelWidth, rowWidth(buttons_) + margins, rowWidth(done_) + margins}));
}

QString RemainsPanelView::headline() const
{
    std::int64_t total = 0;
    for (const auto& application : applications_)
        total += application.remainsSize;
    if (applications_.size() == 1)
        return tr("%1 left %2 behind").arg(QString::fromStdString(applications_.front().displayName), bytes(total));
    return tr("%n applications left %1 behind", nullptr, static_cast<int>(applications_.size())).arg(bytes(total));
}

QString RemainsPanelView::message() const
{
    if (applications_.size() == 1)
        return tr("%1 was moved to the Trash, but its settings, caches and other files are still on this Mac. "
                  "Remove them too?")
            .arg(QString::fromStdString(applications_.front().displayName));
    return tr("%1 were moved to the Trash, but their settings, caches and other files are still on this Mac. "
              "Remove them too?")
        .arg(listOfNames(applications_));
}

QString RemainsPanelView::listOfNames(const std::vector<RemovedApplication>& applications)
{
    QStringList names;
    for (const auto& application : applications)
        names << QString::fromStdString(application.displayName);
    if (names.size() <= kNamesShown + 1) {
        if (names.size() < 2)
            return names.join(QString());
        const QString last = names.takeLast();
        return tr("%1 and %2").arg(names.join(QStringLiteral(", ")), last);
    }
    const qsizetype more = names.size() - kNamesShown;
    return tr("%1 and %n more", nullptr, static_cast<int>(more)).arg(names.mid(0, kNamesShown).join(QStringLiteral(", ")));
}

QWidget* RemainsPanelView::makeButtonRow()
{
    auto* row = new QWidget(this);
    row->setObjectName("buttons");
    auto* notNow = new QPushButton(tr("Not now"), row);
    notNow->setObjectName("notNowButton");
    auto* review = new QPushButton(tr("&Review"), row);
    review->setObjectName("reviewButton");
    auto* remove = accentButton(tr("Remove remains"), row);
    remove->setObjectName("removeButton");
    connect(notNow, &QPushButton::clicked, this, [this] { onNotNow_(); });
    connect(review, &QPushButton::clicked, this, [this] { onReview_(); });
    connect(remove, &QPushButton::clicked, this, [this] { onRemove_(); });

    // The keys of a dialog: Return for the main action, Escape to put it off.
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter})
        connect(new QShortcut(QKeySequence(key), row), &QShortcut::activated, remove, &QPushButton::click);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), row), &QShortcut::activated, notNow, &QPushButton::click);

    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(iconSize + 12, 0, 0, 0);
    layout->addWidget(notNow);
    layout->addStretch();
    layout->addWidget(review);
    layout->addWidget(remove);
    return row;
}

QWidget* RemainsPanelView::makeDoneRow()
{
    auto* row = new QWidget(this);
    row->setObjectName("doneButtons");
    auto* review = new QPushButton(tr("&Review"), row);
    review->setObjectName("reviewLeftButton");
    auto* putBack = new QPushButton(tr("Put Back"), row);
    putBack->setObjectName("putBackButton");
    putBack->hide();
    auto* done = accentButton(tr("Done"), row);
    done->setObjectName("doneButton");
    connect(review, &QPushButton::clicked, this, [this] { onReview_(); });
    connect(putBack, &QPushButton::clicked, this, [this] {
        if (onPutBack_)
            onPutBack_();
    });
    // Command-Z, as in the window.
    connect(new QShortcut(QKeySequence::Undo, row), &QShortcut::activated, putBack, [putBack] {
        if (putBack->isVisible() && putBack->isEnabled())
            putBack->click();
    });
    connect(done, &QPushButton::clicked, this, [this] { onNotNow_(); });
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
        connect(new QShortcut(QKeySequence(key), row), &QShortcut::activated, done, &QPushButton::click);

    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(iconSize + 12, 0, 0, 0);
    layout->addWidget(putBack);
    layout->addStretch();
    layout->addWidget(review);
    layout->addWidget(done);
    return row;
}

void RemainsPanelView::setHeadline(const QString& text)
{
    headline_->setText(text);
    setWindowTitle(text);
    if (window() != this)
        window()->setWindowTitle(text);
}

void RemainsPanelView::showRemoving()
{
    buttons_->setEnabled(false);
    message_->setText(tr("Removing the remains..."));
}

void RemainsPanelView::showOutcome(const RemainsRemoval::Outcome& outcome)
{
    const QString who = this->who();
    const std::size_t onPurpose = outcome.leftAsInstalled.size() + outcome.leftAsReplaced.size();
    if (outcome.left.empty())
        setHeadline(tr("Removed what %1 left").arg(who));
    else if (outcome.removed.empty() && onPurpose >= outcome.left.size())
        setHeadline(tr("Nothing removed of what %1 left").arg(who));
    else if (outcome.removed.empty())
        setHeadline(tr("Could not remove what %1 left").arg(who));
    else
        setHeadline(tr("Removed part of what %1 left").arg(who));

    QStringList lines;
    if (!outcome.removed.empty()) {
        if (outcome.record)
            lines << tr("Moved %n item(s) (%1) to the Trash; emptying the Trash frees the space.", nullptr,
                        static_cast<int>(outcome.removed.size()))
                         .arg(bytes(outcome.removedBytes));
        else
            lines << tr("Removed %n item(s) (%1).", nullptr, static_cast<int>(outcome.removed.size())).arg(bytes(outcome.removedBytes));
        // Without its record, the Trash still holds the items but nothing can put them back in place.
        if (outcome.record && !outcome.record->saved)
            lines << tr("The record of this removal could not be written, so it cannot be put back.");
    }
    if (!outcome.left.empty()) {
        QStringList paths;
        const auto namesOf = [&paths](const std::vector<std::string>& items) {
            QStringList names;
            for (const auto& item : items) {
                if (names.size() < kLeftNamesShown)
                    names << QString::fromStdString(platform::path::lastComponent(item));
                paths << QString::fromStdString(item);
            }
            if (items.size() > static_cast<std::size_t>(kLeftNamesShown))
                names << tr("%n more", nullptr, static_cast<int>(items.size() - kLeftNamesShown));
            return names.join(QStringLiteral(", "));
        };
        std::vector<std::string> failed;
        for (const auto& item : outcome.left)
            if (std::find(outcome.leftAsInstalled.begin(), outcome.leftAsInstalled.end(), item) == outcome.leftAsInstalled.end() &&
                std::find(outcome.leftAsReplaced.begin(), outcome.leftAsReplaced.end(), item) == outcome.leftAsReplaced.end())
                failed.push_back(item);
        if (!outcome.leftAsInstalled.empty())
            lines << tr("Left, as an application with the same identifier is installed again: %1.").arg(namesOf(outcome.leftAsInstalled));
        if (!outcome.leftAsReplaced.empty())
            lines << tr("Left, as another file now lies in their place: %1.").arg(namesOf(outcome.leftAsReplaced));
        if (!failed.empty())
            lines << tr("Left, as they could not be removed: %1.").arg(namesOf(failed));
        if (outcome.record && outcome.record->administratorRightRefused)
            lines << tr("An administrator's password was not given, so what lies outside your home folder was left.");
        message_->setToolTip(paths.join(QLatin1Char('\n')));
    }
    message_->setText(lines.join(QLatin1Char(' ')));
    buttons_->hide();
    done_->findChild<QPushButton*>("reviewLeftButton")->setVisible(!outcome.left.empty());
    done_->findChild<QPushButton*>("putBackButton")->setVisible(outcome.record && outcome.record->countInTrash() > 0);
    done_->show();
}

QString RemainsPanelView::who() const
{
    return applications_.size() == 1 ? QString::fromStdString(applications_.front().displayName)
                                     : tr("%n application(s)", nullptr, static_cast<int>(applications_.size()));
}

void RemainsPanelView::showPuttingBack()
{
    done_->setEnabled(false);
    message_->setToolTip(QString());
    message_->setText(tr("Putting back…"));
}

void RemainsPanelView::showPutBack(const PutBack::Report& report)
{
    const auto count = static_cast<int>(report.restored.size());
    if (report.complete())
        setHeadline(tr("Put back what %1 left").arg(who()));
    else if (count == 0)
        setHeadline(tr("Nothing put back of what %1 left").arg(who()));
    else
        setHeadline(tr("Put back part of what %1 left").arg(who()));

    QStringList lines;
    if (count > 0)
        lines << tr("Put back %n item(s) (%1).", nullptr, count).arg(bytes(report.bytes));
    const int away = static_cast<int>(report.taken.size() + report.gone.size() + report.failed.size());
    if (away > 0)
        lines << tr("%n item(s) stayed away: their place is taken, they were emptied from the Trash or could not be moved.", nullptr, away);
    if (!report.notLoaded.empty())
        lines << tr("Some launch jobs could not be loaded again.");
    if (report.administratorRightRefused)
        lines << tr("An administrator's password was not given, so what goes back outside your home folder stayed in the Trash.");
    message_->setText(lines.join(QLatin1Char(' ')));
    done_->findChild<QPushButton*>("putBackButton")->hide();
    done_->findChild<QPushButton*>("reviewLeftButton")->hide();
    done_->setEnabled(true);
}
