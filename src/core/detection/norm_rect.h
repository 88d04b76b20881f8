#pragma once

#include <QPointF>

namespace velmora {

// A rectangle in the unit square of an image (or any plain rectangle of doubles),
// with the rules the engine's geometry relies on: accessors that work on the
// standardised rectangle, a distinct null rectangle, union and intersection that
// understand it, and equality of the raw fields.
class NormRect
{
public:
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    constexpr NormRect() = default;
    constexpr NormRect(double x, double y, double width, double height)
        : x(x), y(y), width(width), height(height) {}

    static NormRect null();     ///< The rectangle that is nowhere: the union's identity.
    static NormRect infinite(); ///< The rectangle that covers every point.
    static NormRect fromEdges(double minX, double minY, double maxX, double maxY);

    NormRect standardized() const; ///< Negative sizes turned positive by moving the origin.
    double minX() const;
    double minY() const;
    double maxX() const;
    double maxY() const;
    double midX() const;
    double midY() const;
    double standardWidth() const;  ///< |width|; 0 for the null rectangle.
    double standardHeight() const; ///< |height|; 0 for the null rectangle.
    double area() const;           ///< standardWidth × standardHeight.

    bool isNull() const;
    bool isEmpty() const; ///< Null, or zero width or height.
    bool isInfinite() const;

    NormRect united(const NormRect &other) const;
    NormRect intersected(const NormRect &other) const; ///< The null rectangle when they do not meet.
    bool intersects(const NormRect &other) const;      ///< A non-empty intersection.
    bool contains(const QPointF &point) const;         ///< Min edges inside, max edges outside.
    NormRect offsetBy(double dx, double dy) const;
    NormRect insetBy(double dx, double dy) const;

    friend bool operator==(const NormRect &, const NormRect &) = default;
};

} // namespace velmora
