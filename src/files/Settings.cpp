#include "Settings.h"

#include "IniStore.h"

namespace zyrk {

namespace {
const QString kFormHlav = QStringLiteral("FORM_HLAV");
const QString kBasic = QStringLiteral("BASIC");
const QString kIgnition = QStringLiteral("IGNITION");
const QString kPageKey = QStringLiteral("PageControl1->ActivePageIndex");
constexpr int kNumbersPerLine = 10;
constexpr int kLineGroup = 50;

uint8_t Byte(int v) {
    return static_cast<uint8_t>(v & 0xFF);
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}
} // namespace

void ReadApplicationIni(const IniStore& ini, SettingsValues& v) {
    v.left = ini.ReadInt(kFormHlav, QStringLiteral("Left"), v.left);
    v.top = ini.ReadInt(kFormHlav, QStringLiteral("Top"), v.top);
    v.height = ini.ReadInt(kFormHlav, QStringLiteral("Height"), v.height);
    v.width = ini.ReadInt(kFormHlav, QStringLiteral("Width"), v.width);
    // Stored one-based; held as bytes, so both steps wrap modulo 256.
    v.comIndex = Byte(Byte(ini.ReadInt(kFormHlav, QStringLiteral("ComPort"), v.comIndex + 1)) - 1);
    v.autoScanIndex =
        Byte(Byte(ini.ReadInt(kBasic, QStringLiteral("ComPortAuto"), v.autoScanIndex + 1)) - 1);
    v.languageIndex = Byte(ini.ReadInt(kFormHlav, QStringLiteral("Language"), v.languageIndex));
    v.file = ini.ReadString(kFormHlav, QStringLiteral("File"));
    v.lastFilePath = ini.ReadString(kFormHlav, QStringLiteral("IniDir"));
    v.page = ini.ReadInt(kIgnition, kPageKey, v.page);
}

bool WriteApplicationIni(IniStore& ini, const SettingsValues& v) {
    bool ok = ini.WriteInt(kFormHlav, QStringLiteral("Left"), v.left);
    ok &= ini.WriteInt(kFormHlav, QStringLiteral("Top"), v.top);
    ok &= ini.WriteInt(kFormHlav, QStringLiteral("Height"), v.height);
    ok &= ini.WriteInt(kFormHlav, QStringLiteral("Width"), v.width);
    ok &= ini.WriteInt(kFormHlav, QStringLiteral("ComPort"), v.comIndex + 1);
    ok &= ini.WriteInt(kBasic, QStringLiteral("ComPortAuto"), v.autoScanIndex + 1);
    ok &= ini.WriteInt(kFormHlav, QStringLiteral("Language"), v.languageIndex);
    ok &= ini.WriteString(kFormHlav, QStringLiteral("File"), v.file);
    ok &= ini.WriteString(kFormHlav, QStringLiteral("IniDir"), v.lastFilePath);
    ok &= ini.WriteInt(kIgnition, kPageKey, v.page);
    return ok;
}

QByteArray DefaultIniText(const ParamImage& image, const AllCells& allCells) {
    QByteArray out;
    out.reserve(2508);
    for (int i = 0; i < kImageSize; ++i) {
        out += QByteArray::number(image.At(i)).rightJustified(5, ' ') + ' ';
        if (i % kNumbersPerLine == kNumbersPerLine - 1)
            out += "\r\n";
        if (i % kLineGroup == kLineGroup - 1)
            out += "\r\n";
    }
    for (uint8_t v : allCells)
        out += QByteArray::number(v).rightJustified(5, ' ') + ' ';
    return out;
}

int ReadDefaultIni(const QByteArray& text, ParamImage& image, AllCells& allCells) {
    int count = 0;
    // A byte-order mark that an editor put at the start is no part of the numbers.
    qsizetype at = text.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    const qsizetype size = text.size();
    while (count < kImageSize + kServoCount) {
        while (at < size && IsSpace(text[at]))
            ++at;
        if (at >= size || text[at] < '0' || text[at] > '9')
            break;
        unsigned value = 0;
        while (at < size && text[at] >= '0' && text[at] <= '9') {
            value = (value * 10 + static_cast<unsigned>(text[at] - '0')) & 0xFF; // modulo 256
            ++at;
        }
        if (count < kImageSize)
            image.Set(count, static_cast<uint8_t>(value));
        else
            allCells[static_cast<size_t>(count - kImageSize)] = static_cast<uint8_t>(value);
        ++count;
    }
    return count;
}

bool TestMarkerOn(const QByteArray& text) {
    for (const QByteArray& word : text.simplified().split(' ')) {
        if (word == "DIAG_SWITCH")
            return true;
    }
    return false;
}

QString TestMarkerPath(Platform platform) {
    if (platform == Platform::Windows)
        return QStringLiteral("c:\\test_plonek.txt");
    return QStringLiteral("/test_plonek.txt");
}

} // namespace zyrk
