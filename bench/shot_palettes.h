// The light and dark palettes the picture tools render in, with the Fusion style and
// DejaVu Sans at 13 px, so that every text style comes out at its intended size.
#pragma once

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace shot_palettes {

inline QPalette darkPalette()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x1e, 0x1e, 0x1e));
    p.setColor(QPalette::WindowText, Qt::white);
    p.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
    p.setColor(QPalette::AlternateBase, QColor(0x32, 0x32, 0x32));
    p.setColor(QPalette::Text, Qt::white);
    p.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3a));
    p.setColor(QPalette::ButtonText, Qt::white);
    p.setColor(QPalette::Highlight, QColor(0x0a, 0x84, 0xff));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, QColor(0x2a, 0x2a, 0x2a));
    p.setColor(QPalette::ToolTipText, Qt::white);
    p.setColor(QPalette::PlaceholderText, QColor(0xff, 0xff, 0xff, 0x80));
    return p;
}

inline QPalette lightPalette()
{
    QPalette p = QApplication::style()->standardPalette();
    p.setColor(QPalette::Highlight, QColor(0x00, 0x7a, 0xff));
    return p;
}

/// The Fusion style and the application font the pictures are made with.
inline void useShotStyle()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    QApplication::setFont(font);
}

} // namespace shot_palettes
