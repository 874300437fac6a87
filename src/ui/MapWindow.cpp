#include "MapWindow.h"

#include "MapClipboard.h"
#include "MapTexts.h"

#include <QApplication>
#include <QBoxLayout>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QPainter>
#include <QScatterSeries>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QValueAxis>
#include <algorithm>

namespace zyrk {

namespace {

constexpr int kScaleStops = 9;
// Moreland's cool-to-warm scale at equal steps.
constexpr std::array<std::array<int, 3>, kScaleStops> kScale = {{{59, 76, 192},
                                                                 {98, 130, 234},
                                                                 {141, 176, 254},
                                                                 {184, 208, 249},
                                                                 {221, 221, 221},
                                                                 {245, 196, 173},
                                                                 {244, 154, 123},
                                                                 {222, 96, 77},
                                                                 {180, 4, 38}}};
// How much of the live green each trail cell keeps, newest first.
constexpr std::array<double, MapModel::kTrail> kTrailStrength = {0.6, 0.42, 0.26, 0.12};
const QColor kDimmed(236, 236, 236);
const QColor kDimmedText(150, 150, 150);
constexpr double kSelectionShade = 0.45;
const QColor kSelectionEdge(20, 40, 120);
constexpr int kValueMin = -5000;
constexpr int kValueMax = 5000;
constexpr int kValueStart = 100;
constexpr int kDefaultWidth = 940;
// Lines of the chart: ten colours told apart at a glance, one per throttle row.
constexpr std::array<std::array<int, 3>, kMapRows> kRowColours = {{{31, 119, 180},
                                                                   {255, 127, 14},
                                                                   {44, 160, 44},
                                                                   {214, 39, 40},
                                                                   {148, 103, 189},
                                                                   {140, 86, 75},
                                                                   {227, 119, 194},
                                                                   {127, 127, 127},
                                                                   {188, 189, 34},
                                                                   {23, 190, 207}}};
constexpr int kDefaultHeight = 620;

QColor Blend(const QColor& a, const QColor& b, double share) {
    auto mix = [share](int x, int y) { return static_cast<int>(x + (y - x) * share + 0.5); };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

size_t Cell(int row, int column) {
    return static_cast<size_t>(kMapColumns * row + column);
}

} // namespace

QColor MapScaleColour(double t) {
    t = std::clamp(t, 0.0, 1.0) * (kScaleStops - 1);
    const int i = std::min(static_cast<int>(t), kScaleStops - 2);
    const double f = t - i;
    const auto& a = kScale[static_cast<size_t>(i)];
    const auto& b = kScale[static_cast<size_t>(i + 1)];
    return Blend(QColor(a[0], a[1], a[2]), QColor(b[0], b[1], b[2]), f);
}

// --- MapModel ---------------------------------------------------------------------------

const QColor MapModel::kLive(0, 255, 0); // the servo page's live-cell green

MapModel::MapModel(const ParamImage& image, int servo, QObject* parent)
    : QAbstractTableModel(parent), image_(image), servo_(servo) {
    trail_.fill(QPoint(-1, -1));
    Refresh();
}

int MapModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kMapRows;
}

int MapModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kMapColumns;
}

int MapModel::TopShown() const {
    return ShownFromByte(percent_ ? kMapTopPercent : kMapTopMv, percent_);
}

int MapModel::Shown(int row, int column) const {
    // As the servo page's up-downs: a byte beyond the range shows as the range's end.
    return std::min(ShownFromByte(map_[Cell(row, column)], percent_), TopShown());
}

QColor MapModel::CellColour(int row, int column) const {
    if (row == liveRow_ && column == liveColumn_)
        return kLive;
    const double t = high_ == low_ ? 0.5 : double(Shown(row, column) - low_) / (high_ - low_);
    QColor colour = MapScaleColour(t);
    if (row > 0 && !tpEnable_)
        colour = Blend(colour, kDimmed, 0.8);
    for (size_t k = 0; k < trail_.size(); ++k) {
        if (trail_[k] == QPoint(column, row)) {
            colour = Blend(colour, kLive, kTrailStrength[k]);
            break;
        }
    }
    return colour;
}

QColor MapModel::TextColour(int row, int column) const {
    return TextOn(row, column, CellColour(row, column));
}

QColor MapModel::TextOn(int row, int column, const QColor& back) const {
    if (row > 0 && !tpEnable_)
        return kDimmedText;
    if (row == liveRow_ && column == liveColumn_)
        return QColor(Qt::black);
    return back.lightness() < 110 ? QColor(Qt::white) : QColor(Qt::black);
}

const QString& MapModel::CellText(int row, int column) const {
    return texts_[Cell(row, column)];
}

QVariant MapModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int row = index.row();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return CellText(row, column);
    case Qt::EditRole:
        // As text, so that the editor is a line that takes what the paste takes.
        return QString::number(Shown(row, column));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        return CellColour(row, column);
    case Qt::ForegroundRole:
        return TextColour(row, column);
    default:
        return {};
    }
}

QVariant MapModel::headerData(int section, Qt::Orientation orientation, int role) const {
    const bool horizontal = orientation == Qt::Horizontal;
    if (role == Qt::DisplayRole) {
        if (horizontal)
            return QLocale().toString(Rpm(section));
        return QStringLiteral("%1%").arg(kTpsRows[static_cast<size_t>(section)]);
    }
    if (role == Qt::FontRole && (horizontal ? section == liveColumn_ : section == liveRow_)) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role == Qt::ForegroundRole && !horizontal && section > 0 && !tpEnable_)
        return kDimmedText;
    return {};
}

Qt::ItemFlags MapModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

bool MapModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    // The image changes only through the window's owner; Refresh shows the result.
    emit CellTyped(index.row(), index.column(), value.toString());
    return true;
}

bool MapModel::Refresh() {
    const MapCells map = GetMap(image_, servo_);
    std::array<uint8_t, kMapColumns> axis{};
    for (int c = 0; c < kMapColumns; ++c)
        axis[static_cast<size_t>(c)] = image_.Rpm(servo_, c);
    const bool percent = MapInPercent(image_, servo_);
    const bool tpEnable = image_.TpEnable(servo_) != 0;
    if (filled_ && map == map_ && axis == axis_ && percent == percent_ && tpEnable == tpEnable_)
        return false;
    const bool axisChanged = !filled_ || axis != axis_ || tpEnable != tpEnable_;
    map_ = map;
    axis_ = axis;
    percent_ = percent;
    tpEnable_ = tpEnable;
    filled_ = true;
    for (int r = 0; r < kMapRows; ++r) {
        for (int c = 0; c < kMapColumns; ++c)
            texts_[Cell(r, c)] = locale_.toString(Shown(r, c));
    }
    low_ = high_ = Shown(0, 0);
    for (int r = 0; r < kMapRows; ++r) {
        for (int c = 0; c < kMapColumns; ++c) {
            low_ = std::min(low_, Shown(r, c));
            high_ = std::max(high_, Shown(r, c));
        }
    }
    emit dataChanged(index(0, 0), index(kMapRows - 1, kMapColumns - 1));
    if (axisChanged) {
        emit headerDataChanged(Qt::Horizontal, 0, kMapColumns - 1);
        emit headerDataChanged(Qt::Vertical, 0, kMapRows - 1);
    }
    return true;
}

void MapModel::CellChanged(int row, int column) {
    if (row < 0 || column < 0)
        return;
    const QModelIndex i = index(row, column);
    emit dataChanged(i, i, {Qt::BackgroundRole, Qt::ForegroundRole});
}

void MapModel::SetLive(int row, int column) {
    if (row == liveRow_ && column == liveColumn_)
        return;
    const int oldRow = liveRow_;
    const int oldColumn = liveColumn_;
    const QPoint dropped = trail_.back();
    if (oldRow >= 0) {
        std::move_backward(trail_.begin(), trail_.end() - 1, trail_.end());
        trail_.front() = QPoint(oldColumn, oldRow);
    }
    liveRow_ = row;
    liveColumn_ = column;
    CellChanged(dropped.y(), dropped.x());
    for (const QPoint& p : trail_)
        CellChanged(p.y(), p.x());
    CellChanged(row, column);
    if (oldRow != row) {
        if (oldRow >= 0)
            emit headerDataChanged(Qt::Vertical, oldRow, oldRow);
        if (row >= 0)
            emit headerDataChanged(Qt::Vertical, row, row);
    }
    if (oldColumn != column) {
        if (oldColumn >= 0)
            emit headerDataChanged(Qt::Horizontal, oldColumn, oldColumn);
        if (column >= 0)
            emit headerDataChanged(Qt::Horizontal, column, column);
    }
}

void MapModel::ClearLive() {
    SetLive(-1, -1);
    const std::array<QPoint, kTrail> old = trail_;
    trail_.fill(QPoint(-1, -1));
    for (const QPoint& p : old)
        CellChanged(p.y(), p.x());
}

// --- MapCellDelegate -------------------------------------------------------------------

void MapCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    const auto* model = static_cast<const MapModel*>(index.model());
    const int row = index.row();
    const int column = index.column();
    const QRect& r = option.rect;
    // One fill per cell: a selected cell is its own colour shaded towards the selection's.
    const bool selected = option.state & QStyle::State_Selected;
    const QColor own = model->CellColour(row, column);
    const QColor colour = selected ? Blend(own, kSelectionEdge, kSelectionShade) : own;
    painter->fillRect(r, colour);
    painter->setPen(selected ? (colour.lightness() < 110 ? QColor(Qt::white) : QColor(Qt::black))
                             : model->TextOn(row, column, own));
    const QString& text = model->CellText(row, column);
    auto cached = numbers_.find(text);
    if (cached == numbers_.end()) {
        QStaticText laid(text);
        laid.setTextFormat(Qt::PlainText);
        laid.prepare(painter->transform(), painter->font());
        cached = numbers_.insert(text, laid);
    }
    const QSizeF size = cached->size();
    painter->drawStaticText(
        QPointF(r.right() - 4 - size.width(), r.top() + (r.height() - size.height()) / 2.0),
        *cached);
    if (model->Outlined(row, column)) {
        // The same magenta as the outlines on the servo page.
        painter->setPen(QPen(QColor(Qt::magenta), 2));
        painter->drawRect(r.adjusted(1, 1, -1, -1));
    }
    if (option.state & QStyle::State_HasFocus) {
        painter->setPen(Qt::black);
        painter->drawRect(r.adjusted(0, 0, -1, -1));
        painter->drawRect(r.adjusted(1, 1, -2, -2));
    }
}

void MapModel::SetOutlined(const std::vector<QPoint>& cells) {
    std::array<bool, kMapCells> now{};
    for (const QPoint& cell : cells) {
        if (cell.y() >= 0 && cell.y() < kMapRows && cell.x() >= 0 && cell.x() < kMapColumns)
            now[static_cast<size_t>(cell.y() * kMapColumns + cell.x())] = true;
    }
    if (now == outlined_)
        return;
    outlined_ = now;
    emit dataChanged(index(0, 0), index(kMapRows - 1, kMapColumns - 1));
}

void MapCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    QStyledItemDelegate::setEditorData(editor, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->selectAll();
}

// --- MapLegend --------------------------------------------------------------------------

MapLegend::MapLegend(const MapModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setMinimumWidth(64);
}

QSize MapLegend::sizeHint() const {
    return QSize(72, 200);
}

void MapLegend::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int text = fontMetrics().height();
    const QRect bar(6, text + 4, 16, height() - 2 * text - 8);
    if (bar.height() <= 0)
        return;
    QLinearGradient gradient(bar.topLeft(), bar.bottomLeft());
    for (int i = 0; i < kScaleStops; ++i) {
        const double t = double(i) / (kScaleStops - 1);
        gradient.setColorAt(1.0 - t, MapScaleColour(t));
    }
    p.fillRect(bar, gradient);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawRect(bar.adjusted(0, 0, -1, -1));
    const QString unit = model_.Percent() ? QStringLiteral("%") : QStringLiteral("mV");
    p.drawText(QRect(0, 0, width(), text), Qt::AlignLeft | Qt::AlignVCenter,
               QLocale().toString(model_.HighShown()) + QLatin1Char(' ') + unit);
    p.drawText(QRect(0, height() - text, width(), text), Qt::AlignLeft | Qt::AlignVCenter,
               QLocale().toString(model_.LowShown()) + QLatin1Char(' ') + unit);
    // The middle of the scale, so the grey reads as a value too.
    const int middle = (model_.HighShown() + model_.LowShown()) / 2;
    p.drawText(QRect(bar.right() + 4, bar.center().y() - text / 2, width(), text),
               Qt::AlignLeft | Qt::AlignVCenter, QLocale().toString(middle));
}

// --- MapWindow --------------------------------------------------------------------------

MapWindow::MapWindow(const ParamImage& image, int servo, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(image, servo, this) {
    setObjectName(servo == 0 ? QStringLiteral("MapWindow1") : QStringLiteral("MapWindow2"));

    table_ = new QTableView(this);
    table_->setModel(&model_);
    table_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    table_->setSelectionBehavior(QAbstractItemView::SelectItems);
    table_->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                            QAbstractItemView::EditKeyPressed);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->horizontalHeader()->setMinimumSectionSize(44);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->verticalHeader()->setMinimumSectionSize(20);
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    table_->setItemDelegate(new MapCellDelegate(table_));
    // The cells stretch over the whole viewport and paint every pixel of it, so clearing it
    // first would only paint it twice.
    table_->viewport()->setAutoFillBackground(false);
    table_->viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    legend_ = new MapLegend(model_, this);

    value_ = new QSpinBox(this);
    value_->setRange(kValueMin, kValueMax);
    value_->setValue(kValueStart);
    value_->setAccelerated(true);
    valueLabel_ = new QLabel(this);
    valueLabel_->setBuddy(value_);
    unitLabel_ = new QLabel(this);

    chart_ = new QChart();
    chart_->legend()->setAlignment(Qt::AlignRight);
    axisX_ = new QValueAxis(chart_);
    axisY_ = new QValueAxis(chart_);
    axisX_->setLabelFormat(QStringLiteral("%d"));
    axisY_->setLabelFormat(QStringLiteral("%d"));
    chart_->addAxis(axisX_, Qt::AlignBottom);
    chart_->addAxis(axisY_, Qt::AlignLeft);
    for (int r = 0; r < kMapRows; ++r) {
        auto* series = new QLineSeries(chart_);
        series->setName(QStringLiteral("%1%").arg(kTpsRows[static_cast<size_t>(r)]));
        const auto& rgb = kRowColours[static_cast<size_t>(r)];
        series->setPen(QPen(QColor(rgb[0], rgb[1], rgb[2]), 2));
        chart_->addSeries(series);
        series->attachAxis(axisX_);
        series->attachAxis(axisY_);
        series->setVisible(false);
        rows_[static_cast<size_t>(r)] = series;
    }
    live_ = new QScatterSeries(chart_);
    live_->setColor(MapModel::kLive);
    live_->setBorderColor(Qt::black);
    live_->setMarkerSize(12);
    chart_->addSeries(live_);
    live_->attachAxis(axisX_);
    live_->attachAxis(axisY_);
    chartView_ = new QChartView(chart_, this);
    chartView_->setRenderHint(QPainter::Antialiasing);
    chartView_->setMinimumHeight(180);

    tpNote_ = new QLabel(this);
    status_ = new QLabel(this);
    status_->setWordWrap(true);

    BuildActions();

    // Two rows of tools, values first, then the shaping, so that the window can be narrow.
    auto* values = new QHBoxLayout;
    auto* shaping = new QHBoxLayout;
    values->addWidget(valueLabel_);
    values->addWidget(value_);
    values->addWidget(unitLabel_);
    auto addButton = [this](QHBoxLayout* row, QAction* action) {
        auto* button = new QToolButton(this);
        button->setDefaultAction(action);
        button->setFocusPolicy(Qt::NoFocus);
        row->addWidget(button);
    };
    addButton(values, OpAction(MapOp::Set));
    addButton(values, OpAction(MapOp::Add));
    addButton(values, subtract_);
    addButton(values, OpAction(MapOp::Scale));
    values->addStretch(1);
    for (MapOp op : {MapOp::InterpRows, MapOp::InterpColumns, MapOp::Bilinear, MapOp::Smooth,
                     MapOp::FillRight, MapOp::FillDown})
        addButton(shaping, OpAction(op));
    shaping->addStretch(1);

    auto* top = new QWidget(this);
    auto* tableRow = new QHBoxLayout(top);
    tableRow->setContentsMargins(0, 0, 0, 0);
    tableRow->addWidget(table_, 1);
    tableRow->addWidget(legend_);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(top);
    split->addWidget(chartView_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(values);
    outer->addLayout(shaping);
    outer->addWidget(split, 1);
    outer->addWidget(tpNote_);
    outer->addWidget(status_);

    connect(&model_, &MapModel::CellTyped, this, &MapWindow::OnCellTyped);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { ScheduleChart(); });
    connect(table_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { ScheduleChart(); });
    connect(table_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, table_->viewport()->mapToGlobal(at));
        contextMenuEvent(&event);
    });

    resize(kDefaultWidth, kDefaultHeight);
    table_->setCurrentIndex(model_.index(0, 0));
    UpdateUnit();
    UpdateChart();
    ApplyLanguage(language_);
}

void MapWindow::BuildActions() {
    auto make = [this](const QList<QKeySequence>& keys) {
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        return action;
    };
    const std::array<QList<QKeySequence>, 9> keys = {
        QList<QKeySequence>{QKeySequence(Qt::Key_Equal)},
        QList<QKeySequence>{QKeySequence(Qt::Key_Plus),
                            QKeySequence(Qt::KeypadModifier | Qt::Key_Plus)},
        QList<QKeySequence>{QKeySequence(Qt::Key_Asterisk),
                            QKeySequence(Qt::KeypadModifier | Qt::Key_Asterisk)},
        QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_I)},
        QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I)},
        QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_B)},
        QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_M)},
        QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_R)},
        QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_D)},
    };
    for (size_t i = 0; i < ops_.size(); ++i) {
        ops_[i] = make(keys[i]);
        const auto op = static_cast<MapOp>(i);
        connect(ops_[i], &QAction::triggered, this, [this, op] { RunOp(op); });
    }
    subtract_ =
        make({QKeySequence(Qt::Key_Minus), QKeySequence(Qt::KeypadModifier | Qt::Key_Minus)});
    connect(subtract_, &QAction::triggered, this, [this] { RunOp(MapOp::Add, true); });
    copy_ = make({QKeySequence::Copy});
    copyAxes_ = make({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)});
    paste_ = make({QKeySequence::Paste});
    connect(copy_, &QAction::triggered, this, [this] { CopySelection(false); });
    connect(copyAxes_, &QAction::triggered, this, [this] { CopySelection(true); });
    connect(paste_, &QAction::triggered, this, &MapWindow::Paste);
    QAction* undo = make({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    QAction* redo = make({QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z)});
    connect(undo, &QAction::triggered, this, [this] {
        if (Undo)
            Undo();
    });
    connect(redo, &QAction::triggered, this, [this] {
        if (Redo)
            Redo();
    });
}

void MapWindow::ApplyLanguage(int language) {
    language_ = language;
    using namespace maptext;
    setWindowTitle((model_.Servo() == 0 ? MenuMap1 : MenuMap2).In(language));
    const std::array<const TextRow*, 9> names = {
        &Set, &Add, &Scale, &InterpRows, &InterpColumns, &Bilinear, &Smooth, &FillRight, &FillDown};
    for (size_t i = 0; i < ops_.size(); ++i)
        ops_[i]->setText(names[i]->In(language));
    subtract_->setText(Subtract.In(language));
    copy_->setText(Copy.In(language));
    copyAxes_->setText(CopyAxes.In(language));
    paste_->setText(maptext::Paste.In(language));
    valueLabel_->setText(Value.In(language));
    value_->setToolTip(ValueHint.In(language));
    chart_->setTitle(ChartTitle.In(language));
    axisX_->setTitleText(QStringLiteral("RPM"));
    live_->setName(ChartLive.In(language));
    tpNote_->setText(TpDisabled.In(language));
}

void MapWindow::UpdateUnit() {
    const QString unit = model_.Percent() ? QStringLiteral("%") : QStringLiteral("mV");
    unitLabel_->setText(unit);
    axisY_->setTitleText(unit);
    tpNote_->setVisible(!model_.RowsEnabled());
}

void MapWindow::Refresh() {
    if (!model_.Refresh())
        return;
    UpdateUnit();
    legend_->update();
    ScheduleChart();
}

void MapWindow::SetLive(int row, int column) {
    if (row == model_.LiveRow() && column == model_.LiveColumn())
        return;
    model_.SetLive(row, column);
    UpdateLivePoint();
}

MapRect MapWindow::Selection() const {
    const QModelIndexList picked = table_->selectionModel()->selectedIndexes();
    if (picked.isEmpty()) {
        const QModelIndex current = table_->currentIndex();
        if (!current.isValid())
            return MapRect{0, 0, -1, -1};
        return MapRect{current.row(), current.column(), current.row(), current.column()};
    }
    MapRect r{kMapRows, kMapColumns, -1, -1};
    for (const QModelIndex& i : picked) {
        r.top = std::min(r.top, i.row());
        r.left = std::min(r.left, i.column());
        r.bottom = std::max(r.bottom, i.row());
        r.right = std::max(r.right, i.column());
    }
    return r;
}

void MapWindow::Select(const MapRect& r) {
    if (!r.Valid())
        return;
    QItemSelectionModel* model = table_->selectionModel();
    model->setCurrentIndex(model_.index(r.top, r.left), QItemSelectionModel::NoUpdate);
    model->select(QItemSelection(model_.index(r.top, r.left), model_.index(r.bottom, r.right)),
                  QItemSelectionModel::ClearAndSelect);
}

void MapWindow::RunOp(MapOp op, bool subtract) {
    const MapRect r = Selection();
    if (!r.Valid() || !WriteMap)
        return;
    const bool percent = model_.Percent();
    int value = 0;
    switch (op) {
    case MapOp::Set:
    case MapOp::Add:
        value = ByteFromShown(value_->value(), percent);
        if (subtract)
            value = -value;
        break;
    case MapOp::Scale:
        value = value_->value(); // per cent
        break;
    default:
        break;
    }
    MapCells map = GetMap(model_.Image(), model_.Servo());
    ApplyMapOp(map, r, op, value, percent ? kMapTopPercent : kMapTopMv);
    WriteMap(map);
}

void MapWindow::CopySelection(bool withAxes) {
    const MapRect r = Selection();
    if (!r.Valid())
        return;
    std::array<uint8_t, kMapColumns> axis{};
    for (int c = 0; c < kMapColumns; ++c)
        axis[static_cast<size_t>(c)] = static_cast<uint8_t>(model_.Rpm(c) / 100);
    const MapCells map = GetMap(model_.Image(), model_.Servo());
    QGuiApplication::clipboard()->setText(
        MapBlockText(map, r, model_.Percent(), axis.data(), withAxes));
}

QString MapWindow::CellText(int row, int column) const {
    if (row >= 0 && row < kMapRows && column >= 0 && column < kMapColumns) {
        return maptext::CellName.In(language_)
            .arg(row + 1)
            .arg(kTpsRows[static_cast<size_t>(row)])
            .arg(column + 1)
            .arg(QLocale().toString(model_.Rpm(column)));
    }
    return maptext::OutsideName.In(language_).arg(row + 1).arg(column + 1);
}

bool MapWindow::PasteText(const QString& text) {
    const MapRect r = Selection();
    if (!r.Valid() || !WriteMap)
        return false;
    MapCells map = GetMap(model_.Image(), model_.Servo());
    const bool percent = model_.Percent();
    const PasteResult result = PasteIntoMap(text, r.top, r.left, percent, map);
    using E = PasteResult::Error;
    using namespace maptext;
    QString refusal;
    switch (result.error) {
    case E::None:
        break;
    case E::Empty:
        refusal = PasteEmpty.In(language_);
        break;
    case E::NotNumber:
        refusal = PasteNotNumber.In(language_).arg(CellText(result.badRow, result.badColumn),
                                                   result.badText);
        break;
    case E::Ragged:
        refusal = PasteRagged.In(language_).arg(CellText(result.badRow, result.badColumn));
        break;
    case E::OutOfRange:
        refusal =
            PasteOutOfRange.In(language_).arg(CellText(result.badRow, result.badColumn),
                                              result.badText, QLocale().toString(model_.TopShown()),
                                              percent ? QStringLiteral("%") : QStringLiteral("mV"));
        break;
    case E::TooLarge:
        refusal = PasteTooLarge.In(language_)
                      .arg(result.rows)
                      .arg(result.columns)
                      .arg(CellText(result.badRow, result.badColumn));
        break;
    }
    if (!refusal.isEmpty()) {
        Say(refusal);
        if (Message)
            Message(refusal);
        return false;
    }
    WriteMap(map);
    Select(MapRect{r.top, r.left, r.top + result.rows - 1, r.left + result.columns - 1});
    Say(Pasted.In(language_).arg(result.rows).arg(result.columns));
    return true;
}

void MapWindow::Paste() {
    PasteText(QGuiApplication::clipboard()->text());
}

void MapWindow::OnCellTyped(int row, int column, const QString& text) {
    const std::optional<double> value = ParseSpreadsheetNumber(text);
    const bool percent = model_.Percent();
    if (!value || *value < 0 || *value > model_.TopShown()) {
        Say(maptext::TypedBad.In(language_).arg(
            text.trimmed(), QLocale().toString(model_.TopShown()),
            percent ? QStringLiteral("%") : QStringLiteral("mV")));
        return;
    }
    if (!WriteMap)
        return;
    MapCells map = GetMap(model_.Image(), model_.Servo());
    map[Cell(row, column)] = static_cast<uint8_t>(ByteFromShown(*value, percent));
    Say(QString());
    WriteMap(map);
}

void MapWindow::Say(const QString& text) {
    status_->setText(text);
}

void MapWindow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(OpAction(MapOp::Set));
    menu.addAction(OpAction(MapOp::Add));
    menu.addAction(subtract_);
    menu.addAction(OpAction(MapOp::Scale));
    menu.addSeparator();
    for (MapOp op : {MapOp::InterpRows, MapOp::InterpColumns, MapOp::Bilinear, MapOp::Smooth,
                     MapOp::FillRight, MapOp::FillDown})
        menu.addAction(OpAction(op));
    menu.addSeparator();
    menu.addAction(copy_);
    menu.addAction(copyAxes_);
    menu.addAction(paste_);
    menu.exec(event->globalPos());
}

void MapWindow::ScheduleChart() {
    // An edit, the selection of its result and the move of the current cell arrive together;
    // the chart is drawn once for all of them, after the table.
    if (chartDirty_)
        return;
    chartDirty_ = true;
    QTimer::singleShot(0, this, [this] {
        if (chartDirty_)
            UpdateChart();
    });
}

void MapWindow::UpdateChart() {
    chartDirty_ = false;
    const MapRect r = Selection();
    axisX_->setRange(model_.Rpm(0), model_.Rpm(kMapColumns - 1));
    // The value axis spans what is plotted, with a margin, so that a shape shows as a shape.
    int low = model_.TopShown();
    int high = 0;
    for (int row = 0; row < kMapRows; ++row) {
        QLineSeries* series = rows_[static_cast<size_t>(row)];
        const bool shown = r.Valid() && row >= r.top && row <= r.bottom;
        if (shown) {
            QList<QPointF> points;
            points.reserve(kMapColumns);
            for (int c = 0; c < kMapColumns; ++c) {
                const int v = model_.Shown(row, c);
                low = std::min(low, v);
                high = std::max(high, v);
                points.append(QPointF(model_.Rpm(c), v));
            }
            series->replace(points);
        }
        if (series->isVisible() != shown)
            series->setVisible(shown);
    }
    if (model_.LiveRow() >= 0 && model_.LiveColumn() >= 0) {
        const int v = model_.Shown(model_.LiveRow(), model_.LiveColumn());
        low = std::min(low, v);
        high = std::max(high, v);
    }
    if (high < low)
        low = high = 0;
    const int margin = std::max(1, (high - low) / 10);
    axisY_->setRange(std::max(0, low - margin), std::min(model_.TopShown(), high + margin));
    axisY_->applyNiceNumbers(); // round figures on the value axis
    UpdateLivePoint();
}

void MapWindow::UpdateLivePoint() {
    const int row = model_.LiveRow();
    const int column = model_.LiveColumn();
    if (row < 0 || column < 0) {
        live_->clear();
        return;
    }
    const QPointF at(model_.Rpm(column), model_.Shown(row, column));
    if (live_->count() == 1)
        live_->replace(0, at);
    else
        live_->replace(QList<QPointF>{at});
}

} // namespace zyrk
