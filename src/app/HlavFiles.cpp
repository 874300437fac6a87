// The main window's settings, parameter-file and print commands.
#include "ErrorDetail.h"
#include "FileWrite.h"
#include "Hlav.h"
#include "HlavCompare.h"
#include "HlavDetail.h"
#include "IniStore.h"
#include "LanguageTexts.h"
#include "ParameterFile.h"
#include "Settings.h"
#include "SettingsFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QPrinterInfo>

namespace zyrk {

using namespace detail;

SettingsValues TFormHlav::HeldSettings() const {
    SettingsValues v;
    const QRect frame = frameGeometry();
    v.left = frame.left();
    v.top = frame.top();
    v.height = frame.height();
    v.width = frame.width();
    v.comIndex = link.ComIndex;
    v.autoScanIndex = link.AutoScanIndex;
    v.languageIndex = LanguageIndex;
    v.file = fileCaption_;
    v.lastFilePath = LastFilePath;
    v.page = ActivePage();
    return v;
}

void TFormHlav::LoadSettings() {
    IniStore ini(applicationIni_);
    LoadPortTable(ini, link.Names());

    SettingsValues v = HeldSettings();
    ReadApplicationIni(ini, v);
    // The client area has the designed fixed size, so only the place is taken; the stored
    // size is the frame around it. A place that would hide the menu bar off a screen (a
    // screen since removed, a smaller one) is brought back onto one.
    PlaceWindow(QPoint(v.left, v.top));
    link.ComIndex = v.comIndex;
    link.AutoScanIndex = v.autoScanIndex;
    LanguageIndex = v.languageIndex;
    SetFileCaption(v.file);
    LastFilePath = v.lastFilePath;
    openPreset_ = savePreset_ = LastFilePath;
    // A page the tool never writes leaves the page on show as it is.
    if (v.page >= kPageMisc && v.page <= kPageServo2)
        SetActivePage(v.page);

    QFile defaults(defaultIni_);
    if (defaults.open(QIODevice::ReadOnly))
        ReadDefaultIni(defaults.readAll(), image, allCells);
}

void TFormHlav::SaveSettings() {
    IniStore ini(applicationIni_);
    WriteApplicationIni(ini, HeldSettings());

    // Written whole or not at all: a failed write keeps the copy of the last run.
    ReplaceFile(defaultIni_, DefaultIniText(image, allCells));
}

void TFormHlav::ReadTestMarker() {
    TestEnable = false;
    QFile marker(options_.testMarker.isEmpty() ? TestMarkerPath() : options_.testMarker);
    if (marker.open(QIODevice::ReadOnly))
        TestEnable = TestMarkerOn(marker.readAll());
}

void TFormHlav::TookFile(const QString& path) {
    SetFileCaption(QDir::toNativeSeparators(path));
    LastFilePath = QDir::toNativeSeparators(path);
    openPreset_ = savePreset_ = LastFilePath;
}

void TFormHlav::SaveFile(const QString& preset) {
    const QString path = prompter_.ChooseSaveFile(this, preset);
    if (path.isEmpty())
        return;
    savePreset_ = path;
    QString why;
    if (!CanReplaceFile(path, &why)) {
        ShowFileError(path, why);
        return;
    }
    CommitControls();
    ApplyLimits();
    ShowImage();
    // Written whole or not at all; a file that could not be completed is reported, and the
    // file that was there before stays as it was.
    if (!ReplaceFile(path, WriteParameterFile(image), &why)) {
        ShowFileError(path, why);
        return;
    }
    TookFile(path);
}

void TFormHlav::OpenFile(const QString& preset) {
    const QString path = prompter_.ChooseOpenFile(this, preset);
    if (!path.isEmpty()) {
        openPreset_ = path;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            ShowFileError(path, file.errorString());
        } else {
            switch (ReadParameterFile(file.readAll(), image)) {
            case FileRead::Ok:
                AfterChange();
                TookFile(path);
                break;
            case FileRead::NoHeader:
                ShowMessage(messages[MsgUnmatchedFileVersion]);
                break;
            case FileRead::Damaged:
                ShowFileError(path, QString(), true);
                break;
            }
        }
    }
    link.Display().statusVisible = false;
    link.Display().gaugeVisible = false;
    Render();
}

void TFormHlav::ShowFileError(const QString& path, const QString& systemText, bool damaged) {
    prompter_.MessageWithDetail(this, messages[MsgOpenFileError],
                                FileErrorDetail(path, systemText, damaged, LanguageIndex));
}

void TFormHlav::MenuOpenClick() {
    OpenFile(openPreset_);
}

void TFormHlav::MenuSaveClick() {
    SaveFile(savePreset_);
}

// The exe-dir variants open the dialog on the tool's own folder with no name preset.
void TFormHlav::MenuOpenExeDirClick() {
    openPreset_ = savePreset_ = QString();
    OpenFile(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
}

void TFormHlav::MenuSaveExeDirClick() {
    openPreset_ = savePreset_ = QString();
    SaveFile(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
}

// --- Printing ---------------------------------------------------------------------------

void TFormHlav::SetPrintLayout(bool normal) {
    if (compare)
        compare->SetPrinting(!normal);
    ui.StatusBar1->setVisible(normal);
    ui.GroupBoxToolBar->setVisible(normal);
    ui.GroupBoxToolBar2->setVisible(normal &&
                                    !ui.GroupBoxToolBar2->findChildren<QToolButton*>().isEmpty());
    ui.LabelSpojeni->setVisible(normal);
    for (UpDown* upDown : ui.UpDownMapRpm)
        upDown->setVisible(normal);
    for (QLabel* label : ui.LabelMapRow)
        SetBackground(label, Qt::white);
    for (auto& row : ui.UpDownMap) {
        for (UpDown* upDown : row)
            upDown->setVisible(normal);
    }
    for (SpinButton* spin : ui.CSpinButtonMap)
        spin->setVisible(normal);
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui.ButtonMinus, ui.ButtonPlus, ui.CheckBoxAll, ui.UpDownHysterMv, ui.UpDownHysterRpm,
             ui.UpDownHysterOff, ui.UpDownTps0, ui.UpDownTps100, ui.ButtonTps0, ui.ButtonTps100,
             ui.CGaugeRpm, ui.CGaugeTps})
        w->setVisible(normal);
    for (int page = 0; page < ui.PageControl1->count(); ++page) {
        if (page != ActivePage())
            ui.PageControl1->setTabVisible(page, normal);
    }
}

// The long time format of the user's locale without its time-zone name, which Linux locales
// add ("04:11:03 UTC"): the date line gives hours, minutes and seconds.
QString TimeWithoutZone(const QString& format) {
    QString out;
    bool quoted = false;
    for (QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u't')
            out += c;
    }
    return out.simplified();
}

bool TFormHlav::PrintClientArea() {
    QPrinter printer(QPrinter::HighResolution);
    if (!options_.printFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(options_.printFile);
    } else if (QPrinterInfo::defaultPrinter().isNull()) {
        return false;
    }
    printer.setDocName(windowTitle());
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // Fit the page: as large as the printable area allows, proportions kept, top left.
    const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
    const QSize size = ui.client->size();
    const double scale = std::min(area.height() / size.height(), area.width() / size.width());
    painter.scale(scale, scale);
    ui.client->render(&painter);
    return painter.end();
}

void TFormHlav::SpeedButtonPrintClick() {
    static const char* const kDateLine[] = {
        "Datum a čas tisku:  ", "Date and Time of printing:  ", "Date and Time of printing:  "};
    const QLocale system = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    LinkDisplay& d = link.Display();
    d.statusShade = Shade::ButtonFace;
    d.statusText =
        QString::fromUtf8(kDateLine[lang::SanitizeLanguage(LanguageIndex)]) +
        system.toString(now.date(), QLocale::ShortFormat) + QStringLiteral("    ") +
        system.toString(now.time(), TimeWithoutZone(system.timeFormat(QLocale::LongFormat)));
    link.MessageTime = kMessageTicks;
    d.statusVisible = true;
    d.gaugeVisible = false;
    Render();

    const QPalette normal = ui.client->palette();
    QPalette white = normal;
    white.setColor(QPalette::Window, Qt::white);
    ui.client->setPalette(white);
    ui.client->setAutoFillBackground(true);
    // The focused field would print with its cursor and focus frame; it gets the focus back
    // once the window is whole again.
    const QPointer<QWidget> focused = focusWidget();
    if (focused)
        focused->clearFocus();
    SetPrintLayout(false);
    const bool printed = PrintClientArea();
    // Unlike a failed print that left the window stripped, the window always comes back.
    ui.client->setPalette(normal);
    SetPrintLayout(true);
    UpdatePageFurniture();
    ResetLiveColours();
    renderedOnce_ = false; // the connection label and the rest come back as the link says
    Render();
    if (focused)
        focused->setFocus();
    if (!printed)
        ShowMessage(messages[MsgNoPrinter]);
}

} // namespace zyrk
