#include "CommandLine.h"

#include "ParamImage.h"
#include "SettingsFolder.h"

#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace zyrk {

QString VersionText() {
    return QStringLiteral("zyrk %1\n").arg(kToolVersion);
}

QString HelpText(Platform platform) {
    const QString here = SettingsFolder(platform);
    const QString found =
        here.isEmpty() ? QStringLiteral("(no data folder on this machine)") : here;
    const QString version = QString::number(kToolVersion);
    QString text = QStringLiteral(
        "Usage: zyrk [ENGLISH | CESKY | DEUTSCH]\n"
        "       zyrk --help | -h\n"
        "       zyrk --version | -v\n"
        "\n"
        "The desktop programming tool for the ZYRK engine control unit.\n"
        "\n"
        "A language word as the first argument (written exactly so) starts the window in\n"
        "that language; without one the tool starts in the language it used last time:\n"
        "  CESKY     Czech\n"
        "  ENGLISH   English\n"
        "  DEUTSCH   German\n"
        "\n"
        "Settings: application.ini and default.ini in the settings folder\n");
    QString shown = found;
    if (platform == Platform::Windows)
        shown.replace(QLatin1Char('/'), QLatin1Char('\\'));
    text += QStringLiteral("  ") + shown + QLatin1Char('\n');
    if (platform == Platform::Windows) {
        text += QStringLiteral("  (the common application-data folder, %ProgramData%, then "
                               "Velkarim\\ZYRK\\%1\\)\n"
                               "\n"
                               "Ports: COM1 .. COM21 are the system's ports \\\\.\\COM1 .. "
                               "\\\\.\\COM21.\n")
                    .arg(version);
    } else {
        text += QStringLiteral(
                    "  ($XDG_DATA_HOME, else ~/.local/share, then Velkarim/ZYRK/%1/)\n"
                    "\n"
                    "Ports: COM1 .. COM21 of the Com menu are device paths: without an entry\n"
                    "COM1-COM8 are /dev/ttyUSB0-7, COM9-COM16 /dev/ttyACM0-7 and COM17-COM21\n"
                    "/dev/ttyS0-4; section [PORTS] of application.ini may map any of them to\n"
                    "another path (for example COM3=/dev/ttyUSB5).\n")
                    .arg(version);
    }
    return text;
}

QString EarlyOutput(const QStringList& arguments) {
    if (arguments.isEmpty())
        return {};
    const QString& first = arguments.first();
    if (first == QLatin1String("--help") || first == QLatin1String("-h"))
        return HelpText();
    if (first == QLatin1String("--version") || first == QLatin1String("-v"))
        return VersionText();
    return {};
}

void PrintToConsole(const QString& text) {
#ifdef Q_OS_WIN
    // The tool is a windowed program on Windows, which starts without a console: borrow the
    // one of the command prompt it was started from. Output redirected to a file or a pipe
    // already has a handle and needs nothing.
    if (GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_UNKNOWN &&
        AttachConsole(ATTACH_PARENT_PROCESS))
        std::freopen("CONOUT$", "w", stdout);
#endif
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

} // namespace zyrk
