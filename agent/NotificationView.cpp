#include "agent/NotificationView.h"

#include "agent/ColorButtonStyle.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace {

const QColor kOrange(255, 149, 0);
const QColor kGrey(142, 142, 147);
constexpr int kWarningSymbolSize = 24;
constexpr int kCloseSymbolSize = 16;

// The icon recoloured as a symbol of one colour: its middle lightness becomes the colour's and every
// part keeps its distance from it, so the mark inside a warning sign or a close disc stays visible.
QPixmap tintedSymbol(const QIcon& icon, int size, const QColor& colour, qreal devicePixelRatio)
{
    QImage image = icon.pixmap(QSize(size, size), devicePixelRatio).toImage().convertToFormat(QImage::Format_ARGB32);
    if (image.isNull())
        return {};
    std::vector<int> lightness;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (const QRgb pixel = image.pixel(x, y); qAlpha(pixel) >= 128)
                lightness.push_back(qGray(pixel));
    if (lightness.empty())
        return QPixmap::fromImage(image);
    std::nth_element(lightness.begin(), lightness.begin() + lightness.size() / 2, lightness.end());
    const int middle = lightness[lightness.size() / 2];

    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const int shifted = std::clamp(colour.lightness() + qGray(pixel) - middle, 0, 255);
            image.setPixelColor(x, y, QColor::fromHsl(colour.hslHue(), colour.hslSaturation(), shifted, qAlpha(pixel)));
        }
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

}  // namespace

NotificationView::NotificationView(std::function<void()> onScan, std::function<void()> onIgnore, QWidget* parent)
    : RoundedPanel(parent), onScan(std::move(onScan)), onIgnore(std::move(onIgnore))
{
    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Plain);
    divider->setForegroundRole(QPalette::Mid);

    auto* message = new QLabel(messageFor(std::nullopt), this);
    message_ = message;
    message->setObjectName("message");
    message->setWordWrap(true);
    // The secondary label colour: the text colour, faded.
    QPalette faded = message->palette();
    faded.setColor(QPalette::WindowText, faded.color(QPalette::PlaceholderText));
    message->setPalette(faded);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(12);
    column->addStretch();
    column->addLayout(makeTitleRow());
    column->addWidget(divider);
    column->addWidget(message);
    column->addLayout(makeScanRow());
    column->addStretch();
    fitHeight();
}

void NotificationView::fitHeight()
{
    // A message that needs more lines (in a longer language) makes the panel taller rather than cut.
    QLayout* column = layout();
    const int needed = column->hasHeightForWidth() ? column->totalHeightForWidth(frameSize.width()) : column->totalSizeHint().height();
    setFixedSize(frameSize.width(), std::max(frameSize.height(), needed));
}

QString NotificationView::title() const
{
    return tr("App cleanup reminder");
}

QString NotificationView::messageFor(std::optional<int> longUnused)
{
    if (!longUnused || *longUnused <= 0)
        return tr("Scan your applications");
    return tr("%n application(s) not opened for more than 90 days. Scan and uninstall to free up space.", nullptr, *longUnused);
}

void NotificationView::setMessage(const QString& text)
{
    message_->setText(text);
    fitHeight();
}

QLayout* NotificationView::makeTitleRow()
{
    auto* symbol = new QLabel(this);
    symbol->setObjectName("warningSymbol");
    const QIcon warning = QIcon::fromTheme("dialog-warning", style()->standardIcon(QStyle::SP_MessageBoxWarning));
    symbol->setPixmap(tintedSymbol(warning, kWarningSymbolSize, kOrange, devicePixelRatioF()));
    symbol->setFixedSize(kWarningSymbolSize, kWarningSymbolSize);

    auto* heading = new QLabel(title(), this);
    heading->setObjectName("title");
    QFont headline = heading->font();
    headline.setWeight(QFont::DemiBold);
    heading->setFont(headline);

    auto* close = new QToolButton(this);
    close->setObjectName("closeButton");
    close->setAutoRaise(true);
    close->setToolTip(tr("Close"));
    const QIcon closeIcon = QIcon::fromTheme("window-close", style()->standardIcon(QStyle::SP_LineEditClearButton));
    close->setIcon(QIcon(tintedSymbol(closeIcon, kCloseSymbolSize, kGrey, devicePixelRatioF())));
    close->setIconSize(QSize(kCloseSymbolSize, kCloseSymbolSize));
    connect(close, &QToolButton::clicked, this, [this] { this->onIgnore(); });

    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    row->addWidget(symbol, 0, Qt::AlignVCenter);
    row->addWidget(heading, 0, Qt::AlignVCenter);
    row->addWidget(close, 0, Qt::AlignVCenter);
    row->addStretch();
    return row;
}

QLayout* NotificationView::makeScanRow()
{
    auto* scan = new QPushButton(tr("Scan"), this);
    scan->setObjectName("scanButton");
    auto* style = new ColorButtonStyle;
    style->setParent(scan);
    scan->setStyle(style);
    connect(scan, &QPushButton::clicked, this, [this] { this->onScan(); });

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 8, 0, 0);
    row->addWidget(scan, 0, Qt::AlignVCenter);
    row->addStretch();
    return row;
}
