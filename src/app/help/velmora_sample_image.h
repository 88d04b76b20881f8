#pragma once

#include <QImage>
#include <QPalette>
#include <QRect>
#include <QString>

namespace velmora {

// The Quick Start sample: a made-up screenshot of a card holding a command line with an
// API address, a cloud access key, an e-mail address and an account id, drawn from
// constants in the colours of a palette (the same palette gives the same picture).
// Hosts and addresses are on the reserved .test domain.
namespace VelmoraSampleImage {

inline constexpr QSize size{1120, 720};
/// The access key drawn on the key line.
inline constexpr QLatin1StringView accessKey{"AKIAHBRQTLMZWNPD2468"};
inline constexpr QLatin1StringView emailAddress{"alex.rivera@velmora-sample.test"};
inline constexpr QLatin1StringView accountIdentifier{"acct_492038471"};

/// The picture, 1120 x 720 pixels with alpha; a null image when it cannot be drawn.
QImage render(const QPalette &palette);

/// The six lines from the top, each with the y of the top of its text box (pixels from the top).
struct Line
{
    QString text;
    int top;
};
QList<Line> lines();

} // namespace VelmoraSampleImage

} // namespace velmora
