#include "app/kit/check_box_style.h"

#include "app/panes/review_harness.h"

#include <QCheckBox>
#include <QStyle>
#include <QStyleOptionButton>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

QPalette darkPalette()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x1e, 0x1e, 0x1e));
    p.setColor(QPalette::WindowText, Qt::white);
    p.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
    p.setColor(QPalette::Text, Qt::white);
    p.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3a));
    p.setColor(QPalette::Highlight, QColor(0x0a, 0x84, 0xff));
    return p;
}

/// The largest lightness difference between the box's pixels and the window behind it.
int boxContrast(QCheckBox &box)
{
    QStyleOptionButton option;
    option.initFrom(&box);
    const QRect indicator = box.style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, &box);
    const QImage image = box.grab().toImage();
    const int background = box.palette().color(QPalette::Window).lightness();
    int contrast = 0;
    for (int y = indicator.top(); y <= indicator.bottom(); ++y) {
        for (int x = indicator.left(); x <= indicator.right(); ++x)
            contrast = std::max(contrast, std::abs(image.pixelColor(x, y).lightness() - background));
    }
    return contrast;
}

TEST(CheckBoxStyle, TheBoxStandsOutOfADarkWindowCheckedOrNot)
{
    test::ReviewHarness look;
    QWidget window;
    window.setPalette(darkPalette());
    window.setAutoFillBackground(true);
    auto *box = new QCheckBox(QStringLiteral("Draw"), &window);
    useVelmoraCheckBox(box);
    window.show();
    EXPECT_GT(boxContrast(*box), 60) << "unchecked";
    box->setChecked(true);
    EXPECT_GT(boxContrast(*box), 60) << "checked";
}

} // namespace
