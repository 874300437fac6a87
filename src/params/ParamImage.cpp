#include "ParamImage.h"

#include <cstring>

namespace zyrk {

ParamImage::Block ParamImage::GetBlock(int b) const {
    Block block;
    std::memcpy(block.data(), bytes_.data() + kBlockSize * b, kBlockSize);
    return block;
}

void ParamImage::SetBlock(int b, const uint8_t* data) {
    std::memcpy(bytes_.data() + kBlockSize * b, data, kBlockSize);
}

bool ParamImage::BlockEquals(int b, const uint8_t* data) const {
    return std::memcmp(bytes_.data() + kBlockSize * b, data, kBlockSize) == 0;
}

QString MonthText(uint8_t code) {
    struct Entry {
        uint8_t code;
        const char* text;
    };
    static constexpr Entry kMonths[] = {{25, " 1"}, {13, " 2"}, {32, " 3"}, {35, " 4"},
                                        {39, " 5"}, {45, " 6"}, {43, " 7"}, {29, " 8"},
                                        {40, " 9"}, {38, "10"}, {51, "11"}, {12, "12"}};
    for (const Entry& e : kMonths) {
        if (e.code == code)
            return QString::fromLatin1(e.text);
    }
    return QStringLiteral("00");
}

namespace {

// Two digits of a byte as the unit's texts write them: '0' + v/10, '0' + v%10. Values
// above 99 give characters past '9', just as the unit's own firmware would print them.
QString TwoDigits(uint8_t v) {
    QString s;
    s += QChar(static_cast<char16_t>('0' + v / 10));
    s += QChar(static_cast<char16_t>('0' + v % 10));
    return s;
}

// Characters up to the first zero byte, as 8-bit text.
QString ZeroTerminated(const uint8_t* data, int maxLength) {
    int n = 0;
    while (n < maxLength && data[n] != 0)
        ++n;
    return QString::fromLatin1(reinterpret_cast<const char*>(data), n);
}

} // namespace

UnitTexts BuildUnitTexts(const ParamImage& image) {
    UnitTexts t;
    const auto& d = image.Data();
    if (d[off::FirmwareLongName] != 0) {
        t.name = ZeroTerminated(d.data() + off::FirmwareLongName, off::FirmwareLongNameLength);
    } else {
        uint8_t name[5] = {d[0], d[1], d[2], 0, 0};
        t.name = ZeroTerminated(name, 3);
        // The number is appended only when the three characters did not end early.
        if (t.name.size() == 3)
            t.name += TwoDigits(d[off::FirmwareNumber]);
    }
    QString day = TwoDigits(d[off::BuildDay]);
    if (d[off::BuildDay] < 10)
        day[0] = QLatin1Char(' ');
    t.date = day + QLatin1Char('.') + MonthText(d[off::BuildMonth]) + QStringLiteral(".20") +
             TwoDigits(d[off::BuildYear]);
    t.time = TwoDigits(d[off::BuildHour]) + QLatin1Char(':') + TwoDigits(d[off::BuildMinute]);
    return t;
}

} // namespace zyrk
