#pragma once

#include <QString>
#include <array>
#include <cstdint>

// The tool's copy of the unit's 400-byte parameter block. Byte positions are a wire and
// storage format: the unit, the settings file and the undo history rely on them.
namespace zyrk {

constexpr int kToolVersion = 56;
constexpr int kImageSize = 400;
constexpr int kBlockSize = 50;
constexpr int kBlockCount = 8;
constexpr int kServoCount = 2;
constexpr int kMapRows = 10;
constexpr int kMapColumns = 15;
constexpr int kMapCells = kMapRows * kMapColumns;

// Throttle opening in per cent of each map row, top row first.
constexpr std::array<int, kMapRows> kTpsRows = {0, 2, 5, 10, 20, 30, 40, 60, 80, 100};

// Offsets of the fields; a pair has servo 1 at the offset and servo 2 right behind it.
namespace off {
constexpr int FirmwareName = 0;
constexpr int FirmwareNumber = 3;
constexpr int BuildDay = 4;
constexpr int BuildMonth = 5;
constexpr int BuildYear = 6;
constexpr int BuildHour = 7;
constexpr int BuildMinute = 8;
constexpr int UnitVersion = 10;
constexpr int FirmwareLongName = 16;
constexpr int FirmwareLongNameLength = 30;
constexpr int HysterMv = 50;
constexpr int HysterRpm = 52;
constexpr int ServoEnable = 54;
constexpr int TpEnable = 56;
constexpr int Tps0 = 58;
constexpr int Tps100 = 59;
constexpr int PocetPulsu = 60;
constexpr int Procenta = 65;
constexpr int HysterOff = 67;
constexpr int RpmServo1 = 70;
constexpr int RpmServo2 = 85;
constexpr int NapServo1 = 100;
constexpr int NapServo2 = 250;
} // namespace off

class ParamImage {
  public:
    using Bytes = std::array<uint8_t, kImageSize>;
    using Block = std::array<uint8_t, kBlockSize>;

    ParamImage() { bytes_.fill(0); }

    uint8_t At(int offset) const { return bytes_[static_cast<size_t>(offset)]; }
    void Set(int offset, uint8_t value) { bytes_[static_cast<size_t>(offset)] = value; }

    // Whole-image copy in offset order.
    const Bytes& Data() const { return bytes_; }
    void Assign(const Bytes& bytes) { bytes_ = bytes; }
    bool operator==(const ParamImage& other) const = default;

    // Block b (0..7) is bytes 50*b .. 50*b+49.
    Block GetBlock(int b) const;
    void SetBlock(int b, const uint8_t* data);
    bool BlockEquals(int b, const uint8_t* data) const;

    // Pairs: servo is 0 for servo 1 and 1 for servo 2.
    uint8_t HysterMv(int servo) const { return At(off::HysterMv + servo); }
    void SetHysterMv(int servo, uint8_t v) { Set(off::HysterMv + servo, v); }
    uint8_t HysterRpm(int servo) const { return At(off::HysterRpm + servo); }
    void SetHysterRpm(int servo, uint8_t v) { Set(off::HysterRpm + servo, v); }
    uint8_t ServoEnable(int servo) const { return At(off::ServoEnable + servo); }
    void SetServoEnable(int servo, uint8_t v) { Set(off::ServoEnable + servo, v); }
    uint8_t TpEnable(int servo) const { return At(off::TpEnable + servo); }
    void SetTpEnable(int servo, uint8_t v) { Set(off::TpEnable + servo, v); }
    uint8_t Procenta(int servo) const { return At(off::Procenta + servo); }
    void SetProcenta(int servo, uint8_t v) { Set(off::Procenta + servo, v); }
    // The one reading of the unit flag: any value but 0 means the map is in per cent, as the
    // check box and the parameter file have always taken it.
    bool InPercent(int servo) const { return Procenta(servo) != 0; }
    uint8_t HysterOff(int servo) const { return At(off::HysterOff + servo); }
    void SetHysterOff(int servo, uint8_t v) { Set(off::HysterOff + servo, v); }

    uint8_t Tps0() const { return At(off::Tps0); }
    void SetTps0(uint8_t v) { Set(off::Tps0, v); }
    uint8_t Tps100() const { return At(off::Tps100); }
    void SetTps100(uint8_t v) { Set(off::Tps100, v); }
    uint8_t PocetPulsu() const { return At(off::PocetPulsu); }
    void SetPocetPulsu(uint8_t v) { Set(off::PocetPulsu, v); }
    uint8_t UnitVersion() const { return At(off::UnitVersion); }

    // Engine-speed axis point (0..14) in units of 100 RPM.
    static int RpmOffset(int servo) { return servo == 0 ? off::RpmServo1 : off::RpmServo2; }
    uint8_t Rpm(int servo, int point) const { return At(RpmOffset(servo) + point); }
    void SetRpm(int servo, int point, uint8_t v) { Set(RpmOffset(servo) + point, v); }

    // Map cell (row 0..9, column 0..14).
    static int MapOffset(int servo) { return servo == 0 ? off::NapServo1 : off::NapServo2; }
    static int CellOffset(int servo, int row, int column) {
        return MapOffset(servo) + kMapColumns * row + column;
    }
    uint8_t Cell(int servo, int row, int column) const {
        return At(CellOffset(servo, row, column));
    }
    void SetCell(int servo, int row, int column, uint8_t v) {
        Set(CellOffset(servo, row, column), v);
    }

  private:
    Bytes bytes_;
};

// The "All" check box of each servo page; kept beside the image, never sent to the unit.
using AllCells = std::array<uint8_t, kServoCount>;

// Tps100 is stored as mV/10 + 6 with the low 8 bits kept, which is (mV - 2500)/10 for the
// editor's range 2500..4900 mV.
constexpr uint8_t Tps100FromMv(int mv) {
    return static_cast<uint8_t>((mv / 10 + 6) & 0xFF);
}
constexpr int Tps100ToMv(uint8_t byte) {
    return byte * 10 + 2500;
}

// Month text of the build-month code: the low byte of the sum of the English three-letter
// abbreviation's character codes. Unknown codes show as "00".
QString MonthText(uint8_t code);

// The version texts shown for the unit's version block (block 0).
struct UnitTexts {
    QString name; // UnitNameText
    QString date; // UnitDateText, DD.MM.20YY
    QString time; // UnitTimeText, HH:MM
};
UnitTexts BuildUnitTexts(const ParamImage& image);

} // namespace zyrk
