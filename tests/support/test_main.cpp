#include "core/analysis/recognition/tesseract_engine_pool.h"
#include "core/support/work_pools.h"

#include <gtest/gtest.h>
#ifdef VELMORA_TESTS_NEED_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

// Every test program runs with a Qt application object, so that images, fonts,
// clipboards and timers behave as they do in Velmora itself.
int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS(); // Listing needs no display.
    TestApplication app(argc, argv);
    const velmora::WorkPoolsScope workPools;
    const velmora::SharedEnginePoolsScope engines;
    QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationName(QStringLiteral("VelmoraTests"));
    return RUN_ALL_TESTS();
}
