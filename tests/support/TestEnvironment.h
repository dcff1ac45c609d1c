#pragma once

#include <QtTest>

#include <cstdlib>

/// Runs a QtTest class with the offscreen platform, a French locale and a fixed time zone, whatever the
/// machine, so that dates and windows do not depend on where the tests run.
#define GPL_TEST_MAIN(TestClass)                                                                                       \
    int main(int argc, char* argv[])                                                                                   \
    {                                                                                                                  \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                                       \
        qputenv("LC_ALL", "fr_FR.UTF-8");                                                                              \
        qputenv("LANG", "fr_FR.UTF-8");                                                                                \
        qputenv("TZ", "Africa/Algiers");                                                                               \
        QApplication app(argc, argv);                                                                                  \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                                       \
        TestClass test;                                                                                                \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
