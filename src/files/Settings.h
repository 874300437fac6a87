#pragma once

#include "ParamImage.h"
#include "Platform.h"

#include <QByteArray>
#include <QString>

namespace zyrk {

class IniStore;

// The values "application.ini" keeps between runs. Reading takes the values held as the
// defaults, so a missing key or a file that is not there leaves them as they are.
struct SettingsValues {
    int left = 0;
    int top = 0;
    int height = 0;
    int width = 0;
    uint8_t comIndex = 20;
    uint8_t autoScanIndex = 0;
    uint8_t languageIndex = 0;
    QString file;         // caption of the file-name label
    QString lastFilePath; // full path of the last parameter file
    int page = 0;
};

void ReadApplicationIni(const IniStore& ini, SettingsValues& values);
// Writes the ten keys in their usual order; false when any write failed.
bool WriteApplicationIni(IniStore& ini, const SettingsValues& values);

// "default.ini": the 400 image bytes in 8 groups of 5 lines of 10 numbers ("%5u "), each
// group followed by an empty line, then the two AllCells values. CR LF line ends.
QByteArray DefaultIniText(const ParamImage& image, const AllCells& allCells);
// Fills the image and then AllCells from the numbers of the text, as far as they go; each
// value is taken modulo 256. Reading stops at the first word that is not a number, so a
// damaged file never smears one value over the rest of the image. Returns the count read.
int ReadDefaultIni(const QByteArray& text, ParamImage& image, AllCells& allCells);

// Test mode is on when the marker text holds the word DIAG_SWITCH exactly.
bool TestMarkerOn(const QByteArray& text);
// Where the marker file lies: the root of the system drive (c:\ on Windows, / elsewhere).
QString TestMarkerPath(Platform platform = kHostPlatform);

} // namespace zyrk
