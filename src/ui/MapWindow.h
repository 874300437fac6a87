#pragma once

#include "MapOps.h"
#include "MapTexts.h"
#include "ParamImage.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QColor>
#include <QHash>
#include <QLocale>
#include <QStaticText>
#include <QStyledItemDelegate>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QScatterSeries;
class QSpinBox;
class QTableView;
class QValueAxis;

namespace zyrk {

// Blue for low, red for high, through a light grey: a diverging scale whose steps look even,
// so that the shape of a map reads before its numbers. t runs from 0 to 1.
QColor MapScaleColour(double t);

// The map of one servo as a table over the image: values in the unit the servo page shows
// (x 20 mV, or % while Procenta is not 0), cells coloured on MapScaleColour between the map's
// lowest and highest value, rows above row 0 dimmed while "TP Enable" is clear, the live cell
// in the servo page's green with a fading trail of the cells it left. It only reads the image;
// Refresh picks up whatever changed it.
class MapModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    static constexpr int kTrail = 4; // cells the live mark leaves behind, newest first
    static const QColor kLive;

    MapModel(const ParamImage& image, int servo, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // Takes in the image's map, axis and flags; tells the view only when something changed.
    bool Refresh();
    // Moves the live mark; only the cells whose colour changes are reported.
    void SetLive(int row, int column);
    void ClearLive();
    // Cells framed as differing from the unit or a file (the last comparison); empty: none.
    void SetOutlined(const std::vector<QPoint>& cells);
    bool Outlined(int row, int column) const {
        return outlined_[static_cast<size_t>(row * kMapColumns + column)];
    }

    int Servo() const { return servo_; }
    const ParamImage& Image() const { return image_; }
    bool Percent() const { return percent_; }
    bool RowsEnabled() const { return tpEnable_; }
    int TopShown() const;                 // 5000 mV or 100 %
    int Shown(int row, int column) const; // the value the servo page shows
    int Rpm(int column) const { return axis_[static_cast<size_t>(column)] * 100; }
    int LowShown() const { return low_; }
    int HighShown() const { return high_; }
    int LiveRow() const { return liveRow_; }
    int LiveColumn() const { return liveColumn_; }
    const std::array<QPoint, kTrail>& Trail() const { return trail_; }
    // The colour a cell shows: live, trail, scale or dimmed; its text and the text's colour.
    QColor CellColour(int row, int column) const;
    QColor TextColour(int row, int column) const;
    QColor TextOn(int row, int column, const QColor& back) const;
    const QString& CellText(int row, int column) const;

  signals:
    // The user typed text into a cell and confirmed it with Enter.
    void CellTyped(int row, int column, const QString& text);

  private:
    void CellChanged(int row, int column);

    const ParamImage& image_;
    int servo_;
    QLocale locale_; // taken once: a QLocale per cell would cost more than the cell
    MapCells map_{};
    std::array<uint8_t, kMapColumns> axis_{};
    std::array<QString, kMapCells> texts_; // the shown numbers, made once per change
    bool percent_ = false;
    bool tpEnable_ = false;
    int low_ = 0;
    int high_ = 0;
    bool filled_ = false;
    int liveRow_ = -1;
    int liveColumn_ = -1;
    std::array<QPoint, kTrail> trail_;
    std::array<bool, kMapCells> outlined_{};
};

// Paints a cell as the model says, without the style's item machinery, which costs more
// than the whole table is worth: colour, number, and a tint and frame while selected.
class MapCellDelegate : public QStyledItemDelegate {
    Q_OBJECT

  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    // Typing into a cell replaces its number, as in a spreadsheet.
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;

  private:
    // Laid-out numbers by text: a map holds at most 251 different ones, and laying a number
    // out again for every cell of every repaint would cost more than the rest of the paint.
    mutable QHash<QString, QStaticText> numbers_;
};

// The colour bar beside the table: the scale with the map's lowest and highest value.
class MapLegend : public QWidget {
    Q_OBJECT

  public:
    explicit MapLegend(const MapModel& model, QWidget* parent = nullptr);
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const MapModel& model_;
};

// A window over one servo map: the table, its legend, a chart of the selected rows and a tool
// row of operations on the selection. It never writes the image: every change goes out as
// a whole new map through WriteMap, which the main window turns into its usual editing step.
class MapWindow : public QWidget {
    Q_OBJECT

  public:
    MapWindow(const ParamImage& image, int servo, QWidget* parent = nullptr);

    // Hooks the main window sets: the change of the map, and a message for the user.
    std::function<void(const MapCells&)> WriteMap;
    std::function<void(const QString&)> Message;
    // The main window's undo and redo, so that Ctrl+Z works where the change was made.
    std::function<void()> Undo;
    std::function<void()> Redo;

    void ApplyLanguage(int language);
    // Keeps pace with the image; cheap when nothing changed.
    void Refresh();
    void SetLive(int row, int column);

    // The rectangle the operations work on: the selection, or the current cell.
    MapRect Selection() const;
    void Select(const MapRect& rect);
    // Runs op on the selection with the value box; subtract negates it for Add.
    void RunOp(MapOp op, bool subtract = false);
    void CopySelection(bool withAxes);
    // Pastes text (the clipboard's when empty) at the selection's top left cell.
    bool PasteText(const QString& text);
    void Paste();

    MapModel& Model() { return model_; }
    QTableView* Table() { return table_; }
    QSpinBox* ValueBox() { return value_; }
    QChart* Chart() { return chart_; }
    QLineSeries* RowSeries(int row) { return rows_[static_cast<size_t>(row)]; }
    QScatterSeries* LiveSeries() { return live_; }
    QLabel* StatusLabel() { return status_; }
    QAction* OpAction(MapOp op) { return ops_[static_cast<size_t>(op)]; }
    QAction* SubtractAction() { return subtract_; }
    QAction* CopyAction() { return copy_; }
    QAction* CopyAxesAction() { return copyAxes_; }
    QAction* PasteAction() { return paste_; }

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void BuildActions();
    void ScheduleChart();

  public:
    // Brings the chart level with the table now; otherwise it follows on the next turn of
    // the event loop.
    void UpdateChart();

  private:
    void UpdateLivePoint();
    void UpdateUnit();
    void OnCellTyped(int row, int column, const QString& text);
    void Say(const QString& text);
    QString CellText(int row, int column) const;

    MapModel model_;
    int language_ = LangEnglish;
    QTableView* table_ = nullptr;
    MapLegend* legend_ = nullptr;
    QSpinBox* value_ = nullptr;
    QLabel* valueLabel_ = nullptr;
    QLabel* unitLabel_ = nullptr;
    QLabel* tpNote_ = nullptr;
    QLabel* status_ = nullptr;
    QChartView* chartView_ = nullptr;
    QChart* chart_ = nullptr;
    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    std::array<QLineSeries*, kMapRows> rows_{};
    QScatterSeries* live_ = nullptr;
    std::array<QAction*, 9> ops_{};
    QAction* subtract_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* copyAxes_ = nullptr;
    QAction* paste_ = nullptr;
    bool chartDirty_ = false;
};

} // namespace zyrk
