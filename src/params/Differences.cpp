#include "Differences.h"

namespace zyrk {

namespace {

constexpr int kMvPerMapUnit = 20;
constexpr int kRpmPerAxisUnit = 100;
constexpr int kHysterUnit = 5;
constexpr int kTpsUnit = 10;

struct Words {
    const char* cz;
    const char* en;
    const char* de;
    QString In(int language) const {
        return QString::fromUtf8(language == 0 ? cz : language == 2 ? de : en);
    }
};

// The captions of the window's controls, as the language tables give them.
const Words kPageMisc = {"Různé", "Miscellaneous", "Verschiedene"};
const Words kPulses = {"Počet pulsů", "Number of pulses", "Pulszahl"};
const Words kServoEnable = {"Servo povoleno", "Servo Enable", "Servo zulassen"};
const Words kProcenta = {"Procenta", "per cent", "Prozent"};
const Words kHysterMv = {"Hystereze [mV]", "Hysteresis [mV]", "Nachwirkung [mV]"};
const Words kHysterRpm = {"Hystereze [RPM]", "Hysteresis [RPM]", "Nachwirkung [RPM]"};
const Words kHysterOff = {"Vypnuto [mV]", "Off [mV]", "Aus [mV]"};
const Words kAxisPoint = {"RPM, sloupec %1", "RPM, column %1", "RPM, Spalte %1"};
const Words kYes = {"ano", "yes", "ja"};
const Words kNo = {"ne", "no", "nein"};

class Collector {
  public:
    Collector(const ParamImage& ours, const ParamImage& theirs) : ours_(ours), theirs_(theirs) {}

    // Adds a difference when the bytes at the offset differ; values are byte x factor.
    void Byte(int page, DiffField field, int offset, int factor, DiffUnit unit) {
        Value(page, field, offset, ours_.At(offset) * factor, unit, theirs_.At(offset) * factor,
              unit);
    }
    void Flag(int page, DiffField field, int offset) {
        // A check box shows any non-zero byte as ticked.
        const int a = ours_.At(offset) != 0 ? 1 : 0;
        const int b = theirs_.At(offset) != 0 ? 1 : 0;
        if (a != b)
            Push(page, field, a, DiffUnit::Flag, b, DiffUnit::Flag);
    }
    void Value(int page, DiffField field, int offset, int a, DiffUnit aUnit, int b,
               DiffUnit bUnit) {
        if (ours_.At(offset) != theirs_.At(offset))
            Push(page, field, a, aUnit, b, bUnit);
    }
    Difference& Push(int page, DiffField field, int a, DiffUnit aUnit, int b, DiffUnit bUnit) {
        out.push_back({.page = page,
                       .field = field,
                       .ours = a,
                       .oursUnit = aUnit,
                       .theirs = b,
                       .theirsUnit = bUnit});
        return out.back();
    }

    std::vector<Difference> out;

  private:
    const ParamImage& ours_;
    const ParamImage& theirs_;
};

} // namespace

std::vector<Difference> Differences(const ParamImage& ours, const ParamImage& theirs) {
    Collector c(ours, theirs);
    c.Byte(kDiffPageMisc, DiffField::Tps0, off::Tps0, kTpsUnit, DiffUnit::Mv);
    c.Value(kDiffPageMisc, DiffField::Tps100, off::Tps100, Tps100ToMv(ours.Tps100()), DiffUnit::Mv,
            Tps100ToMv(theirs.Tps100()), DiffUnit::Mv);
    c.Byte(kDiffPageMisc, DiffField::Pulses, off::PocetPulsu, 1, DiffUnit::Count);

    for (int s = 0; s < kServoCount; ++s) {
        const int page = kDiffPageServo1 + s;
        c.Flag(page, DiffField::ServoEnable, off::ServoEnable + s);
        c.Flag(page, DiffField::TpEnable, off::TpEnable + s);
        c.Flag(page, DiffField::Procenta, off::Procenta + s);
        c.Byte(page, DiffField::HysterMv, off::HysterMv + s, kHysterUnit, DiffUnit::Mv);
        c.Byte(page, DiffField::HysterRpm, off::HysterRpm + s, kHysterUnit, DiffUnit::Rpm);
        c.Byte(page, DiffField::HysterOff, off::HysterOff + s, kHysterUnit, DiffUnit::Mv);
        for (int j = 0; j < kMapColumns; ++j) {
            const int at = ParamImage::RpmOffset(s) + j;
            if (ours.At(at) != theirs.At(at)) {
                c.Push(page, DiffField::Rpm, ours.At(at) * kRpmPerAxisUnit, DiffUnit::Rpm,
                       theirs.At(at) * kRpmPerAxisUnit, DiffUnit::Rpm)
                    .column = j;
            }
        }
        // Each side's cells in the unit its own "per cent" flag shows them in.
        const bool oursPercent = ours.Procenta(s) != 0;
        const bool theirsPercent = theirs.Procenta(s) != 0;
        for (int i = 0; i < kMapRows; ++i) {
            for (int j = 0; j < kMapColumns; ++j) {
                const uint8_t a = ours.Cell(s, i, j);
                const uint8_t b = theirs.Cell(s, i, j);
                if (a == b)
                    continue;
                Difference& d = c.Push(page, DiffField::Cell, oursPercent ? a : a * kMvPerMapUnit,
                                       oursPercent ? DiffUnit::Percent : DiffUnit::Mv,
                                       theirsPercent ? b : b * kMvPerMapUnit,
                                       theirsPercent ? DiffUnit::Percent : DiffUnit::Mv);
                d.row = i;
                d.column = j;
                d.rowTp = kTpsRows[static_cast<size_t>(i)];
                d.columnRpm = ours.Rpm(s, j) * kRpmPerAxisUnit;
            }
        }
    }
    return std::move(c.out);
}

QString DiffPageName(int page, int language) {
    if (page == kDiffPageMisc)
        return kPageMisc.In(language);
    return QStringLiteral("Servo %1").arg(page);
}

QString DiffFieldName(const Difference& d, int language) {
    switch (d.field) {
    case DiffField::Tps0:
        return QStringLiteral("TPS 0% [mV]");
    case DiffField::Tps100:
        return QStringLiteral("TPS 100% [mV]");
    case DiffField::Pulses:
        return kPulses.In(language);
    case DiffField::ServoEnable:
        return kServoEnable.In(language);
    case DiffField::TpEnable:
        return QStringLiteral("TP Enable");
    case DiffField::Procenta:
        return kProcenta.In(language);
    case DiffField::HysterMv:
        return kHysterMv.In(language);
    case DiffField::HysterRpm:
        return kHysterRpm.In(language);
    case DiffField::HysterOff:
        return kHysterOff.In(language);
    case DiffField::Rpm:
        return kAxisPoint.In(language).arg(d.column + 1);
    case DiffField::Cell:
        return QStringLiteral("TPS %1%, %2 RPM").arg(d.rowTp).arg(d.columnRpm);
    }
    return QString();
}

QString DiffValueText(int value, DiffUnit unit, int language) {
    switch (unit) {
    case DiffUnit::Mv:
        return QStringLiteral("%1 mV").arg(value);
    case DiffUnit::Percent:
        return QStringLiteral("%1 %").arg(value);
    case DiffUnit::Rpm:
        return QStringLiteral("%1 RPM").arg(value);
    case DiffUnit::Flag:
        return value != 0 ? kYes.In(language) : kNo.In(language);
    case DiffUnit::Count:
        break;
    }
    return QString::number(value);
}

} // namespace zyrk
