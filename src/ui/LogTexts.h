#pragma once

// The words of the data log and the chart window in Czech, English and German. Kept apart
// from the main window's tables, which hold the texts of the window as it was designed.

#include "TextRow.h"

namespace zyrk::logtext {

// Log menu and toolbar button
extern const TextRow MenuLog;
extern const TextRow StartRecording;
extern const TextRow StopRecording;
extern const TextRow AddMarker;
extern const TextRow Chart;
extern const TextRow OpenLog;
extern const TextRow LogFolder;
extern const TextRow HintStart;    // short|long, for the toolbar button while idle
extern const TextRow RecordingNow; // %1 elapsed time, %2 rows
extern const TextRow ChooseFolder; // caption of the folder dialog
extern const TextRow LogFilter;    // the open dialog's filter name

// Messages
extern const TextRow FolderFailed; // %1 folder
extern const TextRow CreateFailed; // %1 file, %2 the system's words
extern const TextRow WriteFailed;  // %1 file, %2 the system's words
extern const TextRow CannotOpen;   // %1 file, %2 the system's words
extern const TextRow NotALog;      // %1 file, %2 line
extern const TextRow Damaged;      // %1 file, %2 first line, %3 what is wrong there, %4 rows shown,
                                   // %5 rows skipped, %6 their lines
extern const TextRow NotAFile;
extern const TextRow TooLarge;
extern const TextRow FieldCount; // %1 found, %2 expected
extern const TextRow BadValue;   // %1 column, %2 text
extern const TextRow OpenQuote;
extern const TextRow CutOff;

// Chart window
extern const TextRow ChartCaption;
extern const TextRow Span60s;
extern const TextRow Span5min;
extern const TextRow SpanWhole;
extern const TextRow Pause;
extern const TextRow ZoomOut;
extern const TextRow Live;
extern const TextRow ChartHelp;
extern const TextRow NoAnswer;
extern const TextRow AxisTime;
extern const TextRow AxisRpm;
extern const TextRow AxisPercent;
extern const TextRow AxisVolt;
extern const TextRow AxisMv;
extern const TextRow TraceNames[7]; // in the order of zyrk::Trace

} // namespace zyrk::logtext
