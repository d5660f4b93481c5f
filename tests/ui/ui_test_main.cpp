#include "language.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPalette>
#include <QStyle>
#include <gtest/gtest.h>
#include <unistd.h>

// The window tests need a QApplication, on a platform that needs no display.
int main(int argc, char **argv)
{
    // Offscreen unless the run asks for a real display (pictures under a window manager).
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        // Qt wants a folder of the user's own, readable by nobody else.
        const QString runtime = QDir::tempPath() + QStringLiteral("/tarnwick-ui-tests-%1").arg(getuid());
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    }
    // A bus that leads nowhere: no window test reaches the user's own desktop keyring.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/tarnwick-test-bus");
    // The tests compare the windows' English texts, whatever language the machine speaks.
    qputenv("LC_ALL", "C.UTF-8");
    qunsetenv("LANGUAGE");
    QApplication app(argc, argv);
    // TARNWICK_DARK=1: the windows under a dark palette, for looking at them.
    if (qEnvironmentVariableIntValue("TARNWICK_DARK")) {
        QApplication::setStyle(QStringLiteral("Fusion"));
        QPalette dark;
        for (const auto &[role, colour] : {std::pair{QPalette::Window, QColor(0x2b, 0x2b, 0x2b)},
                                           {QPalette::WindowText, QColor(0xe8, 0xe8, 0xe8)},
                                           {QPalette::Base, QColor(0x1e, 0x1e, 0x1e)},
                                           {QPalette::AlternateBase, QColor(0x33, 0x33, 0x33)},
                                           {QPalette::Text, QColor(0xe8, 0xe8, 0xe8)},
                                           {QPalette::Button, QColor(0x3a, 0x3a, 0x3a)},
                                           {QPalette::ButtonText, QColor(0xe8, 0xe8, 0xe8)},
                                           {QPalette::Highlight, QColor(0x2f, 0x65, 0xca)},
                                           {QPalette::HighlightedText, Qt::white},
                                           {QPalette::ToolTipBase, QColor(0x3a, 0x3a, 0x3a)},
                                           {QPalette::ToolTipText, QColor(0xe8, 0xe8, 0xe8)}})
            dark.setColor(role, colour);
        QApplication::setPalette(dark);
    }
    // TARNWICK_LANGUAGE=de: the windows' pictures in that language (their text checks fail).
    if (const QString language = qEnvironmentVariable("TARNWICK_LANGUAGE"); !language.isEmpty())
        InstallTranslators(QLocale(language), &app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
