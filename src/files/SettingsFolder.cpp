#include "SettingsFolder.h"

#include "IniStore.h"
#include "ParamImage.h"
#include "PortNames.h"

#include <QDir>
#include <QStandardPaths>

namespace zyrk {

namespace {

constexpr char kCompanyFolder[] = "Velkarim";
constexpr char kProductFolder[] = "ZYRK";
constexpr char kPortsSection[] = "PORTS";

// The platform's data folder with '/' separators, or empty when there is none.
QString PlatformDataFolder(Platform platform) {
    if (platform == Platform::Windows) {
        // The common application-data folder, shared by all users of the machine. Windows
        // names it in the environment of every process, which also lets the tests give it.
        QString folder = qEnvironmentVariable("ProgramData");
        if (folder.isEmpty())
            folder = qEnvironmentVariable("ALLUSERSPROFILE");
        // Spelled out rather than fromNativeSeparators, which only converts on Windows
        // itself: the same formula then holds wherever it runs.
        return folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    }
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

} // namespace

QString SettingsFolder(Platform platform) {
    QString base = PlatformDataFolder(platform);
    if (base.isEmpty())
        return QString();
    if (base.endsWith(u'/'))
        base.chop(1);
    // Joined, not formatted: a '%' in the user's folder name must stay as it is.
    const QChar slash = u'/';
    return base + slash + QLatin1String(kCompanyFolder) + slash + QLatin1String(kProductFolder) +
           slash + QString::number(kToolVersion) + slash;
}

SettingsPaths SetUpSettingsFolder() {
    SettingsPaths paths;
    paths.folder = SettingsFolder();
    if (!paths.folder.isEmpty())
        QDir().mkpath(paths.folder);
    paths.applicationIni = paths.folder + QLatin1String(kApplicationIniName);
    paths.defaultIni = paths.folder + QLatin1String(kDefaultIniName);
    return paths;
}

void LoadPortTable(const IniStore& ini, PortNames& ports) {
    const QString section = QLatin1String(kPortsSection);
    for (int n = 1; n <= kPortCount; ++n) {
        const QString path = ini.ReadString(section, QStringLiteral("COM%1").arg(n));
        if (!path.isEmpty())
            ports.SetPath(n, path);
    }
}

} // namespace zyrk
