#pragma once

#include "Platform.h"

#include <QString>

namespace zyrk {

class IniStore;
class PortNames;

inline constexpr char kApplicationIniName[] = "application.ini";
inline constexpr char kDefaultIniName[] = "default.ini";

// Where the two settings files live. folder ends in a separator, or is empty when the
// platform has no data folder; the file paths are then the bare file names.
struct SettingsPaths {
    QString folder;
    QString applicationIni;
    QString defaultIni;
};

// The machine-wide data folder followed by Velkarim/ZYRK/56/. On Windows that is the common
// application-data folder; elsewhere the user's data folder ($XDG_DATA_HOME, else
// ~/.local/share), since a machine-wide folder is not writable there.
QString SettingsFolder(Platform platform = kHostPlatform);

// Creates the missing levels of the settings folder and derives the two file paths. A folder
// that cannot be created is not an error: the settings then read as defaults and are not
// stored, as on a write-protected machine.
SettingsPaths SetUpSettingsFolder();

// Takes the device path of each port n = 1..21 from key "COMn" of section [PORTS]; a missing
// or empty key leaves the default. This is how a technician points the tool at an unusual
// adapter, and how the demo points it at a pseudo-terminal.
void LoadPortTable(const IniStore& ini, PortNames& ports);

} // namespace zyrk
