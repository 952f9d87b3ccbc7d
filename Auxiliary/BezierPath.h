#pragma once

#include <QFlags>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>

#include <vector>

// Which corners of a rectangle are rounded.
enum class NSRectCorner : unsigned {
    none = 0,
    topLeft = 1 << 0,
    topRight = 1 << 1,
    bottomLeft = 1 << 2,
    bottomRight = 1 << 3,
    allCorners = 0xF,
};
Q_DECLARE_FLAGS(NSRectCorners, NSRectCorner)
Q_DECLARE_OPERATORS_FOR_FLAGS(NSRectCorners)

// A path kept as its elements, so that it can be handed to whichever painter draws it. cgPath() is
// the painter's path, element by element.
class BezierPath {
public:
    enum class ElementType { move, line, curve, close };
    struct Element {
        ElementType type;
        QPointF points[3];
    };

    BezierPath() = default;
    // A rectangle with the chosen corners rounded by `radius` (clamped to half the shorter side).
    static BezierPath roundedRect(const QRectF& rect, qreal radius, NSRectCorners corners = NSRectCorner::allCorners);
    // An arc around `center` from `startAngle` to `endAngle` (degrees, counter-clockwise).
    static BezierPath arc(const QPointF& center, qreal radius, qreal startAngle, qreal endAngle);

    void moveTo(const QPointF& point);
    void addLine(const QPointF& point);
    void addCurve(const QPointF& to, const QPointF& control1, const QPointF& control2);
    void addQuadCurve(const QPointF& to, const QPointF& control);
    void addArc(const QPointF& center, qreal radius, qreal startAngle, qreal endAngle);
    void addPath(const BezierPath& other);
    void close();

    const std::vector<Element>& elements() const { return elements_; }
    bool isEmpty() const { return elements_.empty(); }
    QPainterPath cgPath() const;

private:
    QPointF current_;
    std::vector<Element> elements_;
};
