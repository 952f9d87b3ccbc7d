#include "Auxiliary/BezierPath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

BezierPath BezierPath::roundedRect(const QRectF& rect, qreal radius, NSRectCorners corners)
{
    const qreal r = std::clamp(radius, 0.0, std::min(rect.width(), rect.height()) / 2);
    auto cornerRadius = [&](NSRectCorner corner) { return corners.testFlag(corner) ? r : 0.0; };
    const qreal tl = cornerRadius(NSRectCorner::topLeft), tr = cornerRadius(NSRectCorner::topRight);
    const qreal bl = cornerRadius(NSRectCorner::bottomLeft), br = cornerRadius(NSRectCorner::bottomRight);

    BezierPath path;
    path.moveTo({rect.left() + tl, rect.top()});
    path.addLine({rect.right() - tr, rect.top()});
    if (tr > 0)
        path.addQuadCurve({rect.right(), rect.top() + tr}, rect.topRight());
    path.addLine({rect.right(), rect.bottom() - br});
    if (br > 0)
        path.addQuadCurve({rect.right() - br, rect.bottom()}, rect.bottomRight());
    path.addLine({rect.left() + bl, rect.bottom()});
    if (bl > 0)
        path.addQuadCurve({rect.left(), rect.bottom() - bl}, rect.bottomLeft());
    path.addLine({rect.left(), rect.top() + tl});
    if (tl > 0)
        path.addQuadCurve({rect.left() + tl, rect.top()}, rect.topLeft());
    path.close();
    return path;
}

BezierPath BezierPath::arc(const QPointF& center, qreal radius, qreal startAngle, qreal endAngle)
{
    BezierPath path;
    path.addArc(center, radius, startAngle, endAngle);
    return path;
}

void BezierPath::moveTo(const QPointF& point)
{
    elements_.push_back({ElementType::move, {point, {}, {}}});
    current_ = point;
}

void BezierPath::addLine(const QPointF& point)
{
    if (elements_.empty())
        moveTo(current_);
    elements_.push_back({ElementType::line, {point, {}, {}}});
    current_ = point;
}

void BezierPath::addCurve(const QPointF& to, const QPointF& control1, const QPointF& control2)
{
    if (elements_.empty())
        moveTo(current_);
    elements_.push_back({ElementType::curve, {control1, control2, to}});
    current_ = to;
}

void BezierPath::addQuadCurve(const QPointF& to, const QPointF& control)
{
    // Raised to a cubic so that every curve is one element type.
    const QPointF c1 = current_ + 2.0 / 3.0 * (control - current_);
    const QPointF c2 = to + 2.0 / 3.0 * (control - to);
    addCurve(to, c1, c2);
}

void BezierPath::addArc(const QPointF& center, qreal radius, qreal startAngle, qreal endAngle)
{
    // Cubic pieces of at most 90 degrees (y grows downwards, angles counter-clockwise on screen).
    auto pointAt = [&](qreal degrees) {
        const qreal a = degrees * std::numbers::pi / 180;
        return QPointF(center.x() + radius * std::cos(a), center.y() - radius * std::sin(a));
    };
    const qreal sweep = endAngle - startAngle;
    const int pieces = std::max(1, static_cast<int>(std::ceil(std::abs(sweep) / 90.0)));
    const qreal step = sweep / pieces;
    if (elements_.empty())
        moveTo(pointAt(startAngle));
    else
        addLine(pointAt(startAngle));
    for (int i = 0; i < pieces; ++i) {
        const qreal a0 = (startAngle + i * step) * std::numbers::pi / 180;
        const qreal a1 = (startAngle + (i + 1) * step) * std::numbers::pi / 180;
        const qreal k = 4.0 / 3.0 * std::tan((a1 - a0) / 4);
        const QPointF p0 = pointAt(a0 * 180 / std::numbers::pi), p3 = pointAt(a1 * 180 / std::numbers::pi);
        const QPointF c1(p0.x() - k * radius * std::sin(a0), p0.y() - k * radius * std::cos(a0));
        const QPointF c2(p3.x() + k * radius * std::sin(a1), p3.y() + k * radius * std::cos(a1));
        addCurve(p3, c1, c2);
    }
}

void BezierPath::addPath(const BezierPath& other)
{
    elements_.insert(elements_.end(), other.elements_.begin(), other.elements_.end());
    current_ = other.current_;
}

void BezierPath::close()
{
    if (!elements_.empty())
        elements_.push_back({ElementType::close, {}});
}

QPainterPath BezierPath::cgPath() const
{
    QPainterPath path;
    for (const auto& element : elements_) {
        switch (element.type) {
        case ElementType::move: path.moveTo(element.points[0]); break;
        case ElementType::line: path.lineTo(element.points[0]); break;
        case ElementType::curve: path.cubicTo(element.points[0], element.points[1], element.points[2]); break;
        case ElementType::close: path.closeSubpath(); break;
        }
    }
    return path;
}
