#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Tests never need a display; a window test that wants one gets the offscreen platform.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The tests compare the programs' English texts, whatever language the machine speaks; a
    // test of the German texts asks for them itself.
    qputenv("LC_ALL", "C.UTF-8");
    qunsetenv("LANGUAGE");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", "/tmp");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
