#pragma once

#include "MapSheet.h"
#include "MapWindow.h"

#include <QObject>
#include <QRect>
#include <QString>
#include <array>
#include <functional>

class QAction;
class QToolButton;

namespace zyrk {

class TFormHlav;

// The map windows, their menu items and toolbar buttons, and the map sheet, wired to the main
// window. Every change a map window asks for is written into the image here and ends in the
// main window's AfterChange, like any other edit.
class HlavMaps : public QObject {
    Q_OBJECT

  public:
    explicit HlavMaps(TFormHlav& form);

    // Opens (or brings to the front) the window of servo 0 or 1, at its stored place.
    MapWindow* Open(int servo);
    MapWindow* Window(int servo) const { return windows_[static_cast<size_t>(servo)]; }
    void ApplyLanguage();
    // Keeps the open windows level with the image; cheap when nothing changed.
    void Refresh();
    // Refresh and the live cell of each open window, once a tick.
    void Tick();
    // With the main window: stores each open window's place and closes it.
    void CloseAll();
    // Frames the map cells that the last comparison found different, as the servo page does.
    void ShowOutlines();

    MapSheetData SheetData() const;
    void PrintSheet();
    void ExportSheetPdf();

    // The PDF file the export writes; a file dialog unless a test sets it. Empty: cancelled.
    std::function<QString()> ChoosePdfPath;

    std::array<QAction*, 2> MenuMap{};
    std::array<QToolButton*, 2> ButtonMap{};
    QAction* MenuPrintSheet = nullptr;
    QAction* MenuPdfSheet = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void WriteMap(int servo, const MapCells& map);
    void StorePlace(int servo);
    QRect StoredPlace(int servo) const;

    TFormHlav& form_;
    std::array<MapWindow*, 2> windows_{};
    QString pdfPreset_;
};

// The picture of a map window's toolbar button: a coloured grid with the servo's number.
QIcon MapButtonIcon(int servo);

} // namespace zyrk
