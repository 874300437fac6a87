#pragma once

#include "ParamImage.h"

#include <QDateTime>
#include <QString>

class QPagedPaintDevice;

namespace zyrk {

// What the map sheet shows: both maps with their axes, the calibration, the unit's name,
// firmware date and version when a unit has been read, the file and the date of printing.
struct MapSheetData {
    ParamImage image;
    UnitTexts unit;    // empty name: no unit read yet
    QString file;      // the parameter file the image came from, or empty
    QDateTime printed; // shown in the system's short date and long time
    int language = 1;
};

// The sheet as HTML for a QTextDocument; tests read its text.
QString MapSheetHtml(const MapSheetData& data);

// Lays the sheet on one page of a printer or PDF writer, scaled to fit. False when the
// device could not be painted on.
bool PaintMapSheet(QPagedPaintDevice& device, const MapSheetData& data);

// Writes the sheet to a one-page PDF file; false when the file could not be written.
bool WriteMapSheetPdf(const QString& path, const MapSheetData& data);

} // namespace zyrk
