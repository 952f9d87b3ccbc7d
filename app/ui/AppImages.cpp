#include "app/ui/AppImages.h"

#include <QHash>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace {

using Drawing = std::function<void(QPainter&, const QRectF&)>;

// Draws on demand at whatever size and scale the icon is asked for.
class VectorIconEngine : public QIconEngine {
public:
    explicit VectorIconEngine(Drawing draw) : draw_(std::move(draw)) {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        draw_(*painter, QRectF(rect));
        painter->restore();
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }
    QIconEngine* clone() const override { return new VectorIconEngine(draw_); }

private:
    Drawing draw_;
};

QRectF square(const QRectF& rect, qreal inset = 0)
{
    const qreal side = std::min(rect.width(), rect.height()) * (1 - 2 * inset);
    return {rect.center().x() - side / 2, rect.center().y() - side / 2, side, side};
}

void drawTrash(QPainter& p, const QRectF& rect, const QColor& body, const QColor& lines)
{
    const QRectF s = square(rect, 0.08);
    const qreal u = s.width() / 20;
    QPainterPath can;
    can.moveTo(s.left() + 4 * u, s.top() + 6 * u);
    can.lineTo(s.right() - 4 * u, s.top() + 6 * u);
    can.lineTo(s.right() - 5.2 * u, s.bottom() - 0.5 * u);
    can.lineTo(s.left() + 5.2 * u, s.bottom() - 0.5 * u);
    can.closeSubpath();
    p.fillPath(can, body);
    p.setBrush(body);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(s.left() + 2.5 * u, s.top() + 3 * u, 15 * u, 2.2 * u), u, u);
    p.drawRoundedRect(QRectF(s.left() + 7.5 * u, s.top() + 1 * u, 5 * u, 2.5 * u), u, u);
    p.setPen(QPen(lines, 1.2 * u, Qt::SolidLine, Qt::RoundCap));
    for (qreal x : {7.5, 10.0, 12.5})
        p.drawLine(QPointF(s.left() + x * u, s.top() + 9 * u), QPointF(s.left() + x * u, s.bottom() - 3 * u));
}

void drawFolder(QPainter& p, const QRectF& rect, const QColor& colour, const std::function<void(const QRectF&)>& mark)
{
    const QRectF s = square(rect, 0.06);
    const qreal u = s.width() / 20;
    QPainterPath tab;
    tab.addRoundedRect(QRectF(s.left() + u, s.top() + 3 * u, 8 * u, 4 * u), u, u);
    p.fillPath(tab, colour.darker(115));
    QPainterPath body;
    body.addRoundedRect(QRectF(s.left() + u, s.top() + 5 * u, 18 * u, 13 * u), 1.5 * u, 1.5 * u);
    p.fillPath(body, colour);
    mark(QRectF(s.left() + 6 * u, s.top() + 8 * u, 8 * u, 8 * u));
}

QHash<QString, Drawing> drawings()
{
    QHash<QString, Drawing> all;
    all.insert(QStringLiteral("AppIcon"), [](QPainter& p, const QRectF& rect) {
        const QRectF s = square(rect, 0.04);
        QLinearGradient sky(s.topLeft(), s.bottomLeft());
        sky.setColorAt(0, QColor(0x4F, 0xB3, 0xF6));
        sky.setColorAt(1, QColor(0x1E, 0x6F, 0xD9));
        QPainterPath tile;
        tile.addRoundedRect(s, s.width() * 0.22, s.width() * 0.22);
        p.fillPath(tile, sky);
        const qreal u = s.width() / 20;
        QPainterPath island;
        island.moveTo(s.left() + 3 * u, s.top() + 14 * u);
        island.cubicTo(s.left() + 6 * u, s.top() + 7 * u, s.left() + 13 * u, s.top() + 6 * u, s.left() + 17 * u, s.top() + 14 * u);
        island.closeSubpath();
        p.fillPath(island, QColor(0xF5, 0xD7, 0x8E));
        p.setPen(QPen(QColor(255, 255, 255, 200), 1.2 * u, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s.left() + 4 * u, s.top() + 16 * u), QPointF(s.left() + 16 * u, s.top() + 16 * u));
    });
    all.insert(QStringLiteral("trash"), [](QPainter& p, const QRectF& r) { drawTrash(p, r, QColor(0xFF, 0x5F, 0x57), Qt::white); });
    all.insert(QStringLiteral("trash2"), [](QPainter& p, const QRectF& r) { drawTrash(p, r, QColor(0xFF, 0x95, 0x00), Qt::white); });
    all.insert(QStringLiteral("trash2_dark"), [](QPainter& p, const QRectF& r) {
        drawTrash(p, r, QColor(0xE0, 0x82, 0x00), QColor(0xFF, 0xF4, 0xE0));
    });
    all.insert(QStringLiteral("completed_max"), [](QPainter& p, const QRectF& rect) {
        const QRectF s = square(rect, 0.04);
        p.setBrush(QColor(0x22, 0xBF, 0x4F));
        p.setPen(Qt::NoPen);
        p.drawEllipse(s);
        const qreal u = s.width() / 20;
        p.setPen(QPen(Qt::white, 2 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(s.left() + 5.5 * u, s.top() + 10.5 * u), QPointF(s.left() + 8.5 * u, s.top() + 13.5 * u),
                                  QPointF(s.left() + 14.5 * u, s.top() + 7 * u)}));
    });
    all.insert(QStringLiteral("search"), [](QPainter& p, const QRectF& rect) {
        const QRectF s = square(rect, 0.1);
        const qreal u = s.width() / 20;
        p.setPen(QPen(QColor(0x80, 0x80, 0x80), 2 * u, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(s.left() + 2 * u, s.top() + 2 * u, 11 * u, 11 * u));
        p.drawLine(QPointF(s.left() + 11.5 * u, s.top() + 11.5 * u), QPointF(s.right() - 2 * u, s.bottom() - 2 * u));
    });
    all.insert(QStringLiteral("lock"), [](QPainter& p, const QRectF& rect) {
        const QRectF s = square(rect, 0.1);
        const qreal u = s.width() / 20;
        p.setPen(QPen(QColor(0x8A, 0x8F, 0x98), 2.2 * u, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(s.left() + 6 * u, s.top() + 2 * u, 8 * u, 10 * u), 0, 180 * 16);
        p.drawLine(QPointF(s.left() + 6 * u, s.top() + 7 * u), QPointF(s.left() + 6 * u, s.top() + 9 * u));
        p.drawLine(QPointF(s.left() + 14 * u, s.top() + 7 * u), QPointF(s.left() + 14 * u, s.top() + 9 * u));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x8A, 0x8F, 0x98));
        p.drawRoundedRect(QRectF(s.left() + 3.5 * u, s.top() + 9 * u, 13 * u, 9.5 * u), 2 * u, 2 * u);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(s.left() + 10 * u, s.top() + 13.5 * u), 1.4 * u, 1.4 * u);
    });
    all.insert(QStringLiteral("library"), [](QPainter& p, const QRectF& rect) {
        drawFolder(p, rect, QColor(0x5A, 0xA9, 0xF5), [&p](const QRectF& m) {
            p.setPen(QPen(Qt::white, m.width() / 8, Qt::SolidLine, Qt::RoundCap));
            for (qreal x : {0.2, 0.45})
                p.drawLine(QPointF(m.left() + x * m.width(), m.top() + 0.15 * m.height()), QPointF(m.left() + x * m.width(), m.bottom()));
            p.drawLine(QPointF(m.left() + 0.65 * m.width(), m.top() + 0.2 * m.height()), QPointF(m.left() + 0.9 * m.width(), m.bottom()));
        });
    });
    all.insert(QStringLiteral("containers"), [](QPainter& p, const QRectF& rect) {
        drawFolder(p, rect, QColor(0x8E, 0x7C, 0xF0), [&p](const QRectF& m) {
            p.setPen(QPen(Qt::white, m.width() / 9));
            p.setBrush(Qt::NoBrush);
            p.drawRect(m.adjusted(m.width() * 0.1, m.height() * 0.25, -m.width() * 0.1, -m.height() * 0.05));
            p.drawLine(QPointF(m.left() + m.width() * 0.1, m.top() + m.height() * 0.5), QPointF(m.right() - m.width() * 0.1, m.top() + m.height() * 0.5));
        });
    });
    all.insert(QStringLiteral("root"), [](QPainter& p, const QRectF& rect) {
        const QRectF s = square(rect, 0.08);
        const qreal u = s.width() / 20;
        QLinearGradient metal(s.topLeft(), s.bottomLeft());
        metal.setColorAt(0, QColor(0xD9, 0xDD, 0xE2));
        metal.setColorAt(1, QColor(0x9A, 0xA1, 0xAA));
        QPainterPath drive;
        drive.addRoundedRect(QRectF(s.left() + u, s.top() + 5 * u, 18 * u, 10 * u), 2 * u, 2 * u);
        p.fillPath(drive, metal);
        p.setBrush(QColor(0x3D, 0xD6, 0x6B));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(s.left() + 15.5 * u, s.top() + 12 * u), 1.1 * u, 1.1 * u);
    });
    return all;
}

}  // namespace

QIcon AppImages::named(const QString& name)
{
    static const QHash<QString, Drawing> all = drawings();
    const auto it = all.find(name);
    if (it == all.end())
        return {};
    return QIcon(new VectorIconEngine(*it));
}
