#include "ParameterFile.h"

#include <optional>

namespace zyrk {

namespace {

constexpr int kNumberMod = 65536;
constexpr int kMvPerUnit = 20;
constexpr int kRowBreakBlanks = 14;

QByteArray Field(int value, int width) {
    return QByteArray::number(value).rightJustified(width, ' ') + ' ';
}

QByteArray Flag(uint8_t byte, bool trailingBlank) {
    QByteArray f = byte != 0 ? QByteArray("1") : QByteArray("0");
    f = f.rightJustified(trailingBlank ? 6 : 5, ' ');
    return trailingBlank ? f + ' ' : f;
}

void WriteServo(QByteArray& out, const ParamImage& image, int s) {
    const QByteArray n = QByteArray::number(s + 1);
    out += "\r\n\r\nSERVO_" + n + "       ";
    out += Flag(image.ServoEnable(s), false);
    out += Flag(image.TpEnable(s), true);
    out += Flag(image.Procenta(s), true);
    out += Field(image.HysterMv(s) * 5, 5);
    out += Field(image.HysterRpm(s) * 5, 5);
    out += "\r\n\r\nSERVO_" + n + "_HYSTER_OFF\t";
    out += Field(image.HysterOff(s) * 5, 5);
    out += "\r\nRPM_SERVO" + n + "    ";
    for (int c = 0; c < kMapColumns; ++c)
        out += Field(image.Rpm(s, c) * 100, 5);
    out += "\r\nNAP_SERVO" + n + "    ";
    const int factor = image.InPercent(s) ? 1 : kMvPerUnit;
    for (int k = 0; k < kMapCells; ++k) {
        out += Field(image.At(ParamImage::MapOffset(s) + k) * factor, 5);
        if (k % kMapColumns == kMapColumns - 1)
            out += "\r\n" + QByteArray(kRowBreakBlanks, ' ');
    }
}

// Whitespace-separated tokens of the file: blanks, TABs, CRs and LFs separate them.
class Tokens {
  public:
    explicit Tokens(const QByteArray& text) : text_(text) {}
    std::optional<QByteArray> Next() {
        while (at_ < text_.size() && IsSpace(text_[at_]))
            ++at_;
        if (at_ >= text_.size())
            return std::nullopt;
        const qsizetype start = at_;
        while (at_ < text_.size() && !IsSpace(text_[at_]))
            ++at_;
        return text_.mid(start, at_ - start);
    }
    // The next token as an unsigned number modulo 65536; nothing when it is missing or not
    // a number.
    std::optional<int> Number() {
        const std::optional<QByteArray> t = Next();
        if (!t)
            return std::nullopt;
        int value = 0;
        for (char c : *t) {
            if (c < '0' || c > '9')
                return std::nullopt;
            value = (value * 10 + (c - '0')) % kNumberMod;
        }
        return value;
    }

  private:
    static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    const QByteArray& text_;
    qsizetype at_ = 0;
};

uint8_t Byte(int v) {
    return static_cast<uint8_t>(v & 0xFF);
}

// Reads `count` numbers into consecutive fields; false when the record is cut short.
template <typename Store> bool ReadNumbers(Tokens& tokens, int count, Store store) {
    for (int i = 0; i < count; ++i) {
        const std::optional<int> n = tokens.Number();
        if (!n)
            return false;
        store(i, *n);
    }
    return true;
}

// Reads the numbers of one record; an unknown token is skipped. False when cut short.
bool ReadRecord(const QByteArray& key, Tokens& tokens, ParamImage& image) {
    if (key == "POCET_PULSU")
        return ReadNumbers(tokens, 1, [&](int, int n) { image.SetPocetPulsu(Byte(n)); });
    if (key == "TPS") {
        return ReadNumbers(tokens, 2, [&](int i, int n) {
            if (i == 0)
                image.SetTps0(Byte(n / 10));
            else
                image.SetTps100(Byte(n / 10 + 6));
        });
    }
    for (int s = 0; s < kServoCount; ++s) {
        const QByteArray n = QByteArray::number(s + 1);
        if (key == "SERVO_" + n) {
            return ReadNumbers(tokens, 5, [&](int i, int v) {
                switch (i) {
                case 0:
                    image.SetServoEnable(s, Byte(v));
                    break;
                case 1:
                    image.SetTpEnable(s, Byte(v));
                    break;
                case 2:
                    image.SetProcenta(s, Byte(v));
                    break;
                case 3:
                    image.SetHysterMv(s, Byte(v / 5));
                    break;
                default:
                    image.SetHysterRpm(s, Byte(v / 5));
                    break;
                }
            });
        }
        if (key == "SERVO_" + n + "_HYSTER_OFF")
            return ReadNumbers(tokens, 1, [&](int, int v) { image.SetHysterOff(s, Byte(v / 5)); });
        if (key == "RPM_SERVO" + n) {
            return ReadNumbers(tokens, kMapColumns,
                               [&](int c, int v) { image.SetRpm(s, c, Byte(v / 100)); });
        }
        if (key == "NAP_SERVO" + n) {
            // The unit of the cells is the one the servo holds when the record is read.
            const int divisor = image.InPercent(s) ? 1 : kMvPerUnit;
            return ReadNumbers(tokens, kMapCells, [&](int k, int v) {
                image.Set(ParamImage::MapOffset(s) + k, Byte(v / divisor));
            });
        }
    }
    return true;
}

} // namespace

QByteArray WriteParameterFile(const ParamImage& image) {
    QByteArray out;
    out.reserve(2591);
    out += "VELKARIM_KEY   " + Field(kToolVersion, 3);
    out += "\r\n\r\nPOCET_PULSU  " + Field(image.PocetPulsu(), 5);
    out += "\r\n\r\nTPS          " + Field(image.Tps0() * 10, 5);
    out += Field((image.Tps100() + 250) * 10, 5);
    for (int s = 0; s < kServoCount; ++s)
        WriteServo(out, image, s);
    return out;
}

FileRead ReadParameterFile(const QByteArray& text, ParamImage& image) {
    Tokens tokens(text);
    bool header = false;
    while (!header) {
        const std::optional<QByteArray> t = tokens.Next();
        if (!t)
            return FileRead::NoHeader;
        if (*t == "VELKARIM_KEY") {
            const std::optional<int> version = tokens.Number();
            header = version && *version == kToolVersion;
        }
    }
    ParamImage loaded = image;
    while (const std::optional<QByteArray> key = tokens.Next()) {
        if (!ReadRecord(*key, tokens, loaded))
            return FileRead::Damaged;
    }
    image = loaded;
    return FileRead::Ok;
}

} // namespace zyrk
