#include "Flags.h"

#include <QPainter>

namespace r73 {

QPixmap germanFlag()
{
    QPixmap flag(24, 16);
    QPainter p(&flag);
    // 16 rows do not divide by three; the middle stripe takes the spare row.
    p.fillRect(0, 0, 24, 5, QColor(0x00, 0x00, 0x00));
    p.fillRect(0, 5, 24, 6, QColor(0xDD, 0x00, 0x00));
    p.fillRect(0, 11, 24, 5, QColor(0xFF, 0xCE, 0x00));
    return flag;
}

QPixmap usFlag()
{
    constexpr int Width = 22;
    constexpr int Height = 14;
    constexpr int StripeHeight = 2; // seven stripes instead of thirteen: one pixel each is a blur
    QPixmap flag(Width, Height);
    QPainter p(&flag);
    const QColor red(0xB2, 0x22, 0x34);
    for (int y = 0; y < Height; y += StripeHeight)
        p.fillRect(0, y, Width, StripeHeight, (y / StripeHeight) % 2 == 0 ? red : Qt::white);

    constexpr int CantonWidth = 9;
    constexpr int CantonHeight = 8; // over the first four stripes
    p.fillRect(0, 0, CantonWidth, CantonHeight, QColor(0x3C, 0x3B, 0x6E));
    p.setPen(Qt::white);
    for (int y = 1; y < CantonHeight; y += 2)
        for (int x = 1 + (y / 2) % 2; x < CantonWidth; x += 2)
            p.drawPoint(x, y);
    return flag;
}

} // namespace r73
