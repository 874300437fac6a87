#pragma once

#include "MapOps.h"

#include <QString>
#include <optional>
#include <vector>

// Map blocks as text for spreadsheets: what Ctrl+C gives and what Ctrl+V takes. Pure text
// work, so that what LibreOffice Calc and Excel put on the clipboard can be tested here.
namespace zyrk {

// One number as a spreadsheet writes it in any locale: an optional sign, digit grouping by
// blank, no-break blank, apostrophe, comma or point, and a decimal comma or point.
// How a separator is read:
//  - with both ',' and '.' present, the one that comes last is the decimal separator and the
//    other groups digits ("2,000.5" and "2.000,5" are both 2000.5);
//  - one kind appearing twice or more groups digits ("1.000.000");
//  - one kind appearing once is a group separator when exactly three digits follow it and the
//    digits before it do not start with 0 ("2,000" and "2.000" are 2000), otherwise it is the
//    decimal separator ("2,5", "0,500", "2.50").
// Groups must be of three digits after a first group of one to three. A number a map cell
// could not hold is then refused by the range check, so a misread never writes silently.
std::optional<double> ParseSpreadsheetNumber(const QString& text);

// A rectangular block of numbers: cells split by tabs, rows by CR LF, LF or CR; blank lines
// at the end are dropped.
struct TextBlock {
    enum class Error { None, Empty, NotNumber, Ragged };
    Error error = Error::None;
    int rows = 0;
    int columns = 0;
    std::vector<double> values; // row-major
    int badRow = -1;            // the first bad cell, within the block
    int badColumn = -1;
    QString badText;
};
TextBlock ParseTextBlock(const QString& text);

// A paste of text at map cell (row, column). On success the block's cells are written into
// map as bytes (ByteFromShown) and nothing else changes; on any error map is left alone.
struct PasteResult {
    enum class Error { None, Empty, NotNumber, Ragged, OutOfRange, TooLarge };
    Error error = Error::None;
    int rows = 0; // size of the block
    int columns = 0;
    int badRow = -1;    // the first bad cell, in map rows and columns (may lie outside the map
    int badColumn = -1; // for TooLarge)
    QString badText;
    bool Ok() const { return error == Error::None; }
};
PasteResult PasteIntoMap(const QString& text, int row, int column, bool percent, MapCells& map);

// The cells of rect as tab-separated lines ending in LF, in the unit the servo page shows.
// With axes, a first line carries the engine speeds of the columns (RPM) after a corner cell,
// and every line starts with its throttle row in per cent.
QString MapBlockText(const MapCells& map, const MapRect& rect, bool percent,
                     const uint8_t* rpmAxis = nullptr, bool withAxes = false);

} // namespace zyrk
