// zyrk-cli: the link, files and parameters without a window, for the bench and the
// production line. See README.md for the commands and exit codes.

#include "Cli.h"
#include "SerialPort.h"
#include "SettingsFolder.h"

#include <QCoreApplication>
#include <QTimer>
#include <csignal>

namespace {

// Set by Ctrl+C; the next tick closes the port and ends the run, so no frame is cut off by
// the process dying in the middle of a write.
volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void OnInterrupt(int) {
    g_interrupted = 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    zyrk::cli::Options options;
    QString error;
    if (!zyrk::cli::ParseArguments(app.arguments().mid(1), options, error)) {
        err << "zyrk-cli: " << error << "\nTry zyrk-cli --help.\n";
        return zyrk::cli::kExitUsage;
    }
    if (options.command == zyrk::cli::Command::Help) {
        out << zyrk::cli::UsageText();
        return zyrk::cli::kExitOk;
    }
    if (options.command == zyrk::cli::Command::Version) {
        out << "zyrk-cli " << zyrk::kToolVersion << "\n";
        return zyrk::cli::kExitOk;
    }
    std::signal(SIGINT, OnInterrupt);

    zyrk::SerialPort port;
    zyrk::cli::Session session(port, options, out, err);
    // Only read: the command line never creates or changes the window's settings.
    const QString folder = zyrk::SettingsFolder();
    if (!folder.isEmpty())
        session.LoadPorts(folder + QLatin1String(zyrk::kApplicationIniName));
    if (!session.Prepare())
        return session.ExitCode();

    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(zyrk::kTickMs);
    QObject::connect(&timer, &QTimer::timeout, &app, [&] {
        if (g_interrupted)
            session.Interrupt();
        else
            session.Tick();
        if (session.Finished()) {
            timer.stop();
            app.exit(session.ExitCode());
        }
    });
    timer.start();
    return app.exec();
}
