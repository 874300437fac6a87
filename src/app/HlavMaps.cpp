// The map windows and the map sheet, wired to the main window.
#include "HlavMaps.h"

#include "Differences.h"
#include "HlavCompare.h"

#include "Hlav.h"
#include "IniStore.h"
#include "Link.h"
#include "MapTexts.h"

#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QToolButton>

namespace zyrk {

namespace {

// Each window's place lives in a section of its own, so that the sections the tool has always
// written stay exactly as they were.
const std::array<QString, 2> kSections = {QStringLiteral("MAP_SERVO1"),
                                          QStringLiteral("MAP_SERVO2")};
constexpr int kIconPx = 16;
constexpr int kMinWidth = 480;
constexpr int kMinHeight = 360;

} // namespace

QIcon MapButtonIcon(int servo) {
    return DrawnIcon(kIconPx, [&](QPainter& p) {
        // A 4 x 4 grid rising from blue at the bottom left to red at the top right.
        constexpr int kGrid = 4;
        constexpr int kCell = 4;
        for (int r = 0; r < kGrid; ++r) {
            for (int c = 0; c < kGrid; ++c) {
                const double t = double(c + (kGrid - 1 - r)) / (2 * (kGrid - 1));
                p.fillRect(c * kCell, r * kCell, kCell, kCell, MapScaleColour(t));
            }
        }
        p.setPen(QColor(60, 60, 60));
        p.drawRect(0, 0, kIconPx - 1, kIconPx - 1);
        // The servo's number on a white patch in the corner.
        p.fillRect(8, 7, 8, 9, Qt::white);
        p.setPen(Qt::black);
        QFont font;
        font.setPixelSize(10);
        font.setBold(true);
        p.setFont(font);
        p.drawText(QRect(8, 7, 8, 9), Qt::AlignCenter, QString::number(servo + 1));
    });
}

HlavMaps::HlavMaps(TFormHlav& form) : QObject(&form), form_(form) {
    FormHlavUi& ui = form_.ui;
    ui.MenuTools->addSeparator();
    for (int s = 0; s < 2; ++s) {
        QAction* action = ui.MenuTools->addAction(QString());
        action->setShortcut(QKeySequence(Qt::CTRL | (s == 0 ? Qt::Key_1 : Qt::Key_2)));
        connect(action, &QAction::triggered, this, [this, s] { Open(s); });
        MenuMap[static_cast<size_t>(s)] = action;
        QToolButton* button = AddToolBar2Button(ui, MapButtonIcon(s), QString());
        connect(button, &QToolButton::clicked, this, [this, s] { Open(s); });
        ButtonMap[static_cast<size_t>(s)] = button;
    }
    ui.MenuFile->addSeparator();
    MenuPrintSheet = ui.MenuFile->addAction(QString());
    MenuPdfSheet = ui.MenuFile->addAction(QString());
    connect(MenuPrintSheet, &QAction::triggered, this, &HlavMaps::PrintSheet);
    connect(MenuPdfSheet, &QAction::triggered, this, &HlavMaps::ExportSheetPdf);
    ChoosePdfPath = [this] {
        return QFileDialog::getSaveFileName(&form_, MenuPdfSheet->text(), pdfPreset_,
                                            maptext::SheetPdfFilter.In(form_.LanguageIndex));
    };
    ApplyLanguage();
}

MapWindow* HlavMaps::Open(int servo) {
    MapWindow*& window = windows_[static_cast<size_t>(servo)];
    if (!window) {
        window = new MapWindow(form_.image, servo, &form_);
        window->WriteMap = [this, servo](const MapCells& map) { WriteMap(servo, map); };
        window->Message = [this, window](const QString& text) {
            form_.prompter_.Message(window, text);
        };
        window->Undo = [this] { form_.SpeedButtonZpetClick(); };
        window->Redo = [this] { form_.SpeedButtonZnovuClick(); };
        window->ApplyLanguage(form_.LanguageIndex);
        const QRect place = StoredPlace(servo);
        if (place.isValid()) {
            window->resize(place.size());
            window->move(place.topLeft());
        }
        window->installEventFilter(this);
    }
    window->Refresh();
    ShowOutlines();
    window->show();
    window->raise();
    window->activateWindow();
    Tick();
    return window;
}

void HlavMaps::ShowOutlines() {
    std::array<std::vector<QPoint>, 2> cells;
    if (form_.compare) {
        for (const Difference& d : form_.compare->Outlined()) {
            if (d.field != DiffField::Cell)
                continue;
            const int servo = d.page == kDiffPageServo1 ? 0 : 1;
            cells[static_cast<size_t>(servo)].push_back(QPoint(d.column, d.row));
        }
    }
    for (size_t s = 0; s < windows_.size(); ++s) {
        if (windows_[s])
            windows_[s]->Model().SetOutlined(cells[s]);
    }
}

void HlavMaps::WriteMap(int servo, const MapCells& map) {
    // As the value tools do: the image is written and the usual step follows, whatever the
    // servo page holds typed but not yet taken.
    PutMap(form_.image, servo, map);
    form_.AfterChange();
}

void HlavMaps::ApplyLanguage() {
    const int l = form_.LanguageIndex;
    MenuMap[0]->setText(maptext::MenuMap1.In(l));
    MenuMap[1]->setText(maptext::MenuMap2.In(l));
    SetHint(ButtonMap[0], maptext::HintMap1.In(l), true);
    SetHint(ButtonMap[1], maptext::HintMap2.In(l), true);
    MenuPrintSheet->setText(maptext::MenuPrintSheet.In(l));
    MenuPdfSheet->setText(maptext::MenuPdfSheet.In(l));
    for (MapWindow* window : windows_) {
        if (window)
            window->ApplyLanguage(l);
    }
}

void HlavMaps::Refresh() {
    for (MapWindow* window : windows_) {
        if (window && window->isVisible())
            window->Refresh();
    }
}

void HlavMaps::Tick() {
    for (int s = 0; s < 2; ++s) {
        MapWindow* window = windows_[static_cast<size_t>(s)];
        if (!window || !window->isVisible())
            continue;
        window->Refresh();
        // The cell the engine runs in on this servo's own axis and "TP Enable", found the way
        // the servo page finds it.
        const ParamImage& image = form_.image;
        const MapPosition live = LiveCell(image, s, form_.link.LiveRpm, form_.link.LiveTpPercent);
        window->SetLive(live.row, live.column);
    }
}

void HlavMaps::CloseAll() {
    for (int s = 0; s < 2; ++s) {
        MapWindow* window = windows_[static_cast<size_t>(s)];
        if (window && window->isVisible())
            window->close(); // the event filter stores the place
    }
}

bool HlavMaps::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close) {
        for (int s = 0; s < 2; ++s) {
            if (watched == windows_[static_cast<size_t>(s)])
                StorePlace(s);
        }
    }
    return QObject::eventFilter(watched, event);
}

void HlavMaps::StorePlace(int servo) {
    const MapWindow* window = windows_[static_cast<size_t>(servo)];
    IniStore ini(form_.applicationIni_);
    const QString& section = kSections[static_cast<size_t>(servo)];
    // The place of the frame's corner and the size of the window's inside, which is what
    // move() and resize() take back.
    ini.WriteInt(section, QStringLiteral("Left"), window->pos().x());
    ini.WriteInt(section, QStringLiteral("Top"), window->pos().y());
    ini.WriteInt(section, QStringLiteral("Width"), window->width());
    ini.WriteInt(section, QStringLiteral("Height"), window->height());
}

QRect HlavMaps::StoredPlace(int servo) const {
    const IniStore ini(form_.applicationIni_);
    const QString& section = kSections[static_cast<size_t>(servo)];
    constexpr int kMissing = -100000;
    const QRect place(ini.ReadInt(section, QStringLiteral("Left"), kMissing),
                      ini.ReadInt(section, QStringLiteral("Top"), kMissing),
                      ini.ReadInt(section, QStringLiteral("Width"), kMissing),
                      ini.ReadInt(section, QStringLiteral("Height"), kMissing));
    if (place.left() == kMissing || place.top() == kMissing || place.width() < kMinWidth ||
        place.height() < kMinHeight)
        return {};
    // A place on a screen that is no longer there falls back to the default place.
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(place))
            return place;
    }
    return {};
}

MapSheetData HlavMaps::SheetData() const {
    MapSheetData d;
    d.image = form_.image;
    d.unit = form_.link.Texts();
    d.file = form_.ui.LabelFile2->text();
    d.printed = QDateTime::currentDateTime();
    d.language = form_.LanguageIndex;
    return d;
}

void HlavMaps::PrintSheet() {
    form_.CommitControls(); // what the servo page holds typed is what gets printed
    form_.ApplyLimits();
    form_.ShowImage();
    bool printed = false;
    if (!QPrinterInfo::defaultPrinter().isNull()) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(maptext::SheetTitle.In(form_.LanguageIndex));
        printed = PaintMapSheet(printer, SheetData());
    }
    if (!printed)
        form_.prompter_.Message(&form_, maptext::SheetPrintFailed.In(form_.LanguageIndex));
}

void HlavMaps::ExportSheetPdf() {
    QString path = ChoosePdfPath ? ChoosePdfPath() : QString();
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    pdfPreset_ = path;
    form_.CommitControls();
    form_.ApplyLimits();
    form_.ShowImage();
    if (!WriteMapSheetPdf(path, SheetData())) {
        form_.prompter_.Message(
            &form_,
            maptext::SheetPdfFailed.In(form_.LanguageIndex).arg(QDir::toNativeSeparators(path)));
    }
}

} // namespace zyrk
