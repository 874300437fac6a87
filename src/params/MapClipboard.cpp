#include "MapClipboard.h"

#include <QRegularExpression>
#include <QStringList>

namespace zyrk {

namespace {

bool IsBlankGroup(QChar c) {
    return c == QLatin1Char(' ') || c == QChar(0x00A0) || c == QChar(0x202F) ||
           c == QLatin1Char('\'') || c == QChar(0x2019);
}

// Digits, or groups of three after a first group of one to three, separated by one kind of
// group separator (blanks of any sort count as one kind).
bool ValidIntegerPart(const QString& s, QChar group) {
    static const QRegularExpression plain(QStringLiteral("^[0-9]+$"));
    if (plain.match(s).hasMatch())
        return true;
    QString normal = s;
    for (QChar& c : normal) {
        if (IsBlankGroup(c) || c == group)
            c = QLatin1Char('_');
    }
    static const QRegularExpression grouped(QStringLiteral("^[0-9]{1,3}(_[0-9]{3})+$"));
    if (!grouped.match(normal).hasMatch())
        return false;
    // One kind only: a comma group and a blank group in the same number is no number.
    bool blank = false;
    bool mark = false;
    for (QChar c : s) {
        blank = blank || IsBlankGroup(c);
        mark = mark || c == group;
    }
    return !(blank && mark);
}

} // namespace

std::optional<double> ParseSpreadsheetNumber(const QString& text) {
    QString s = text.trimmed();
    bool negative = false;
    if (s.startsWith(QLatin1Char('-')) || s.startsWith(QLatin1Char('+')) ||
        s.startsWith(QChar(0x2212))) {
        negative = s.front() != QLatin1Char('+');
        s = s.mid(1);
    }
    if (s.isEmpty())
        return std::nullopt;
    const qsizetype commas = s.count(QLatin1Char(','));
    const qsizetype points = s.count(QLatin1Char('.'));
    QChar decimal;
    QChar group;
    if (commas > 0 && points > 0) {
        decimal = s.lastIndexOf(QLatin1Char(',')) > s.lastIndexOf(QLatin1Char('.'))
                      ? QLatin1Char(',')
                      : QLatin1Char('.');
        group = decimal == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
        if (s.count(decimal) > 1)
            return std::nullopt;
    } else if (commas + points > 1) {
        group = commas > 0 ? QLatin1Char(',') : QLatin1Char('.');
    } else if (commas + points == 1) {
        const QChar mark = commas > 0 ? QLatin1Char(',') : QLatin1Char('.');
        const qsizetype at = s.indexOf(mark);
        const QString before = s.left(at);
        const QString after = s.mid(at + 1);
        static const QRegularExpression three(QStringLiteral("^[0-9]{3}$"));
        const bool grouping = three.match(after).hasMatch() && !before.isEmpty() &&
                              !before.startsWith(QLatin1Char('0'));
        (grouping ? group : decimal) = mark;
    }
    QString integer = s;
    QString fraction;
    if (!decimal.isNull()) {
        const qsizetype at = s.lastIndexOf(decimal);
        integer = s.left(at);
        fraction = s.mid(at + 1);
        static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
        if (!digits.match(fraction).hasMatch())
            return std::nullopt;
    }
    if (integer.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    if (!integer.isEmpty() && !ValidIntegerPart(integer, group))
        return std::nullopt;
    QString plain;
    for (QChar c : integer) {
        if (c.isDigit())
            plain += c;
    }
    if (plain.isEmpty())
        plain = QStringLiteral("0");
    if (!fraction.isEmpty())
        plain += QLatin1Char('.') + fraction;
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return negative ? -value : value;
}

TextBlock ParseTextBlock(const QString& text) {
    TextBlock block;
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = normal.split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.back().trimmed().isEmpty())
        lines.removeLast();
    if (lines.isEmpty()) {
        block.error = TextBlock::Error::Empty;
        return block;
    }
    block.rows = static_cast<int>(lines.size());
    for (int r = 0; r < block.rows; ++r) {
        const QStringList cells = lines[r].split(QLatin1Char('\t'));
        const int count = static_cast<int>(cells.size());
        if (r == 0) {
            block.columns = count;
        } else if (count != block.columns) {
            block.error = TextBlock::Error::Ragged;
            block.badRow = r;
            block.badColumn = std::min(count, block.columns);
            return block;
        }
        for (int c = 0; c < count; ++c) {
            const std::optional<double> value = ParseSpreadsheetNumber(cells[c]);
            if (!value) {
                block.error = TextBlock::Error::NotNumber;
                block.badRow = r;
                block.badColumn = c;
                block.badText = cells[c].trimmed();
                return block;
            }
            block.values.push_back(*value);
        }
    }
    return block;
}

PasteResult PasteIntoMap(const QString& text, int row, int column, bool percent, MapCells& map) {
    PasteResult result;
    const TextBlock block = ParseTextBlock(text);
    result.rows = block.rows;
    result.columns = block.columns;
    switch (block.error) {
    case TextBlock::Error::Empty:
        result.error = PasteResult::Error::Empty;
        return result;
    case TextBlock::Error::NotNumber:
    case TextBlock::Error::Ragged:
        result.error = block.error == TextBlock::Error::NotNumber ? PasteResult::Error::NotNumber
                                                                  : PasteResult::Error::Ragged;
        result.badRow = row + block.badRow;
        result.badColumn = column + block.badColumn;
        result.badText = block.badText;
        return result;
    case TextBlock::Error::None:
        break;
    }
    if (row + block.rows > kMapRows || column + block.columns > kMapColumns) {
        result.error = PasteResult::Error::TooLarge;
        // The first cell that falls outside the map, in reading order.
        for (int r = 0; r < block.rows && result.badRow < 0; ++r) {
            for (int c = 0; c < block.columns; ++c) {
                if (row + r >= kMapRows || column + c >= kMapColumns) {
                    result.badRow = row + r;
                    result.badColumn = column + c;
                    break;
                }
            }
        }
        return result;
    }
    const double top = percent ? kMapTopPercent : ShownFromByte(kMapTopMv, false);
    MapCells next = map;
    for (int r = 0; r < block.rows; ++r) {
        for (int c = 0; c < block.columns; ++c) {
            const double value = block.values[static_cast<size_t>(r * block.columns + c)];
            if (value < 0 || value > top) {
                result.error = PasteResult::Error::OutOfRange;
                result.badRow = row + r;
                result.badColumn = column + c;
                result.badText = QString::number(value, 'g', 10);
                return result;
            }
            next[static_cast<size_t>(kMapColumns * (row + r) + column + c)] =
                static_cast<uint8_t>(ByteFromShown(value, percent));
        }
    }
    map = next;
    return result;
}

QString MapBlockText(const MapCells& map, const MapRect& rect, bool percent, const uint8_t* rpmAxis,
                     bool withAxes) {
    QString text;
    if (!rect.Valid())
        return text;
    const bool axes = withAxes && rpmAxis;
    if (axes) {
        text += QStringLiteral("%/RPM");
        for (int c = rect.left; c <= rect.right; ++c)
            text += QLatin1Char('\t') + QString::number(rpmAxis[c] * 100);
        text += QLatin1Char('\n');
    }
    for (int r = rect.top; r <= rect.bottom; ++r) {
        if (axes)
            text += QString::number(kTpsRows[static_cast<size_t>(r)]) + QLatin1Char('\t');
        for (int c = rect.left; c <= rect.right; ++c) {
            if (c > rect.left)
                text += QLatin1Char('\t');
            text += QString::number(
                ShownFromByte(map[static_cast<size_t>(kMapColumns * r + c)], percent));
        }
        text += QLatin1Char('\n');
    }
    return text;
}

} // namespace zyrk
