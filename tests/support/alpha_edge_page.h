#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>

namespace velmora::testing {

/// Which side of its edge an alpha edge page is opaque on.
enum class OpaqueSide
{
    left,
    right,
};

/// A page of five values, one to a line (an address, a phone number, a card number, an
/// IPv4 address and an account identifier, each after its label), in DejaVu Sans at
/// 22 px on 1400×500 pixels, opaque on one side of column `edge` and of `alpha` on the
/// other, as a layer made partly transparent part way along its lines is: its pixels
/// keep their colours.
struct AlphaEdgePage
{
    QImage image; ///< ARGB32.
    int edge = 0;
    OpaqueSide opaque = OpaqueSide::left;
    QList<QString> values;
    QList<QList<QPoint>> valueInk; ///< Per value, the pixels its glyphs cover by at least 20 %.
};

AlphaEdgePage alphaEdgePage(int edge, int alpha, OpaqueSide opaque = OpaqueSide::left, QColor ink = Qt::black,
                            QColor ground = Qt::white);

} // namespace velmora::testing
