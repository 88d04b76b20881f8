#include "core/detection/norm_rect.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora {

namespace {
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kInfiniteOrigin = -std::numeric_limits<double>::max() / 2;
constexpr double kInfiniteSize = std::numeric_limits<double>::max();
} // namespace

NormRect NormRect::null()
{
    return {kInfinity, kInfinity, 0, 0};
}

NormRect NormRect::infinite()
{
    return {kInfiniteOrigin, kInfiniteOrigin, kInfiniteSize, kInfiniteSize};
}

NormRect NormRect::fromEdges(double minX, double minY, double maxX, double maxY)
{
    return {minX, minY, maxX - minX, maxY - minY};
}

NormRect NormRect::standardized() const
{
    if (isNull())
        return *this;
    NormRect r = *this;
    if (r.width < 0) {
        r.x += r.width;
        r.width = -r.width;
    }
    if (r.height < 0) {
        r.y += r.height;
        r.height = -r.height;
    }
    return r;
}

double NormRect::minX() const { return std::min(x, x + width); }
double NormRect::minY() const { return std::min(y, y + height); }
double NormRect::maxX() const { return std::max(x, x + width); }
double NormRect::maxY() const { return std::max(y, y + height); }
double NormRect::midX() const { return x + width / 2; }
double NormRect::midY() const { return y + height / 2; }
double NormRect::standardWidth() const { return isNull() ? 0 : std::abs(width); }
double NormRect::standardHeight() const { return isNull() ? 0 : std::abs(height); }
double NormRect::area() const { return standardWidth() * standardHeight(); }

bool NormRect::isNull() const
{
    return (std::isinf(x) && x > 0) || (std::isinf(y) && y > 0);
}

bool NormRect::isEmpty() const
{
    return isNull() || width == 0 || height == 0;
}

bool NormRect::isInfinite() const
{
    const NormRect inf = infinite();
    return x == inf.x && y == inf.y && width == inf.width && height == inf.height;
}

NormRect NormRect::united(const NormRect &other) const
{
    if (isNull())
        return other.standardized();
    if (other.isNull())
        return standardized();
    return fromEdges(std::min(minX(), other.minX()), std::min(minY(), other.minY()),
                     std::max(maxX(), other.maxX()), std::max(maxY(), other.maxY()));
}

NormRect NormRect::intersected(const NormRect &other) const
{
    if (isNull() || other.isNull())
        return null();
    const double left = std::max(minX(), other.minX());
    const double bottom = std::max(minY(), other.minY());
    const double right = std::min(maxX(), other.maxX());
    const double top = std::min(maxY(), other.maxY());
    if (left > right || bottom > top)
        return null();
    return fromEdges(left, bottom, right, top);
}

bool NormRect::intersects(const NormRect &other) const
{
    return !intersected(other).isEmpty();
}

bool NormRect::contains(const QPointF &point) const
{
    if (isEmpty())
        return false;
    return point.x() >= minX() && point.x() < maxX() && point.y() >= minY() && point.y() < maxY();
}

NormRect NormRect::offsetBy(double dx, double dy) const
{
    if (isNull())
        return *this;
    NormRect r = standardized();
    r.x += dx;
    r.y += dy;
    return r;
}

NormRect NormRect::insetBy(double dx, double dy) const
{
    if (isNull())
        return *this;
    NormRect r = standardized();
    r.x += dx;
    r.y += dy;
    r.width -= 2 * dx;
    r.height -= 2 * dy;
    if (r.width < 0 || r.height < 0)
        return null();
    return r;
}

} // namespace velmora
