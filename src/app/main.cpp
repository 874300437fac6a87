#include "About.h"
#include "CommandLine.h"
#include "Hlav.h"
#include "SerialPort.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[]) {
    // Help and version are answered before the application object exists: that needs a
    // display, and a question about the tool must not open its window.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString early = zyrk::EarlyOutput(arguments);
    if (!early.isEmpty()) {
        zyrk::PrintToConsole(early);
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    // Lets the desktop match the window to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.zyrk.Zyrk"));

    zyrk::SerialPort port;
    zyrk::BoxPrompter prompter;
    zyrk::TFormHlav::Options options;
    options.arguments = app.arguments().mid(1);

    // The main window first, then the About window, as the tool has always started.
    zyrk::TFormHlav form(port, prompter, options);
    form.FormCreate();
    form.FormAbout = new zyrk::TFormAbout(form.LanguageIndex, &form);
    form.show();

    // For the demo on a machine without a display: save a picture of the window after a
    // while and end, so the run can be looked at afterwards.
    const QString shot = qEnvironmentVariable("ZYRK_SCREENSHOT");
    if (!shot.isEmpty()) {
        bool ok = false;
        int afterMs = qEnvironmentVariableIntValue("ZYRK_SCREENSHOT_AFTER_MS", &ok);
        if (!ok)
            afterMs = 5000;
        QTimer::singleShot(afterMs, &form, [&form, shot] {
            form.grab().save(shot);
            form.close();
        });
    }
    app.exec();
    return 0;
}
