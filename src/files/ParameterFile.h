#pragma once

#include "ParamImage.h"

#include <QByteArray>

namespace zyrk {

// The ".ign" parameter file: keyword records of decimal numbers in one fixed layout of 37
// lines and 2591 bytes. It carries every editable field; block 0, the reserved bytes and
// AllCells stay out of it.
QByteArray WriteParameterFile(const ParamImage& image);

enum class FileRead {
    Ok,       // the header matched and every record was whole
    NoHeader, // no "VELKARIM_KEY 56": not a parameter file of this version
    Damaged,  // a record cut short or holding a word where a number belongs
};

// Reads the records after the first matching header into image. The image is changed only
// when the whole file reads cleanly, so a damaged file never leaves half of it loaded.
FileRead ReadParameterFile(const QByteArray& text, ParamImage& image);

} // namespace zyrk
