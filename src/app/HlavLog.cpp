#include "HlavLog.h"

#include "ChartWindow.h"
#include "Hlav.h"
#include "IniStore.h"
#include "LogTexts.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QPainter>
#include <QStandardPaths>

namespace zyrk {

namespace {

constexpr char kSection[] = "LOG";
constexpr char kFolderKey[] = "Folder";
constexpr char kDefaultFolderName[] = "ZYRK logs";
constexpr int kIconPx = 16;
constexpr int kMsPerSecond = 1000;
constexpr int kSecondsPerMinute = 60;
constexpr int kSecondsPerHour = 3600;

// The record button's picture: a red dot, drawn here so it needs no file.
QIcon RedDot() {
    return DrawnIcon(kIconPx, [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0x80, 0, 0), 1));
        p.setBrush(QColor(0xE0, 0x10, 0x10));
        p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    });
}

QString Duration(qint64 ms) {
    const qint64 s = std::max<qint64>(0, ms) / kMsPerSecond;
    if (s >= kSecondsPerHour)
        return QString::asprintf("%lld:%02lld:%02lld", s / kSecondsPerHour,
                                 s % kSecondsPerHour / kSecondsPerMinute, s % kSecondsPerMinute);
    return QString::asprintf("%02lld:%02lld", s / kSecondsPerMinute, s % kSecondsPerMinute);
}

} // namespace

HlavLog::HlavLog(TFormHlav& form, const QString& applicationIni)
    : QObject(&form), form_(form), applicationIni_(applicationIni) {
    folder_ = IniStore(applicationIni_)
                  .ReadString(QString::fromLatin1(kSection), QString::fromLatin1(kFolderKey));
    if (folder_.isEmpty())
        folder_ = DefaultFolder();

    menu = new QMenu(&form);
    form.menuBar()->insertMenu(form.ui.MenuLanguage->menuAction(), menu);
    actionRecord = menu->addAction(QString(), this, &HlavLog::ToggleRecording);
    actionRecord->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    actionMarker = menu->addAction(QString(), this, [this] { AddMarker(); });
    actionMarker->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    actionMarker->setEnabled(false);
    menu->addSeparator();
    actionChart = menu->addAction(QString(), this, &HlavLog::ShowChart);
    actionChart->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    actionOpen = menu->addAction(QString(), this, &HlavLog::OpenLog);
    menu->addSeparator();
    actionFolder = menu->addAction(QString(), this, &HlavLog::ChooseFolder);

    button = AddToolBar2Button(form.ui, RedDot(), QString());
    button->setCheckable(true);
    connect(button, &QToolButton::clicked, this, [this] {
        ToggleRecording();
        button->setChecked(recorder_.Recording());
    });

    chooseLog = [this](const QString& folder) {
        return QFileDialog::getOpenFileName(&form_, logtext::OpenLog.In(language_), folder,
                                            logtext::LogFilter.In(language_));
    };
    chooseFolder = [this](const QString& folder) {
        return QFileDialog::getExistingDirectory(&form_, logtext::ChooseFolder.In(language_),
                                                 folder);
    };

    form.link.AddSampleObserver(
        [this](const MonitorSample& sample) { recorder_.AddSample(sample); });
    timer_.setInterval(kStatusMs);
    connect(&timer_, &QTimer::timeout, this, [this] { Tick(QDateTime::currentMSecsSinceEpoch()); });
    timer_.start();
}

HlavLog::~HlavLog() = default;

QString HlavLog::DefaultFolder() const {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        .filePath(QString::fromLatin1(kDefaultFolderName));
}

void HlavLog::SetFolder(const QString& folder) {
    folder_ = folder;
    IniStore(applicationIni_)
        .WriteString(QString::fromLatin1(kSection), QString::fromLatin1(kFolderKey), folder);
}

void HlavLog::ApplyLanguage(int language) {
    language_ = language;
    menu->setTitle(logtext::MenuLog.In(language));
    actionMarker->setText(logtext::AddMarker.In(language));
    actionChart->setText(logtext::Chart.In(language));
    actionOpen->setText(logtext::OpenLog.In(language));
    actionFolder->setText(logtext::LogFolder.In(language));
    if (chart_)
        chart_->SetLanguage(language);
    baseCaption_ = form_.windowTitle(); // just set from the window's own table
    stateShown_ = false;
    ShowState(QDateTime::currentMSecsSinceEpoch());
}

QString HlavLog::StatusText(qint64 nowMs) const {
    if (!recorder_.Recording())
        return QString();
    return logtext::RecordingNow.In(language_)
        .arg(Duration(recorder_.ElapsedMs(nowMs)))
        .arg(recorder_.Rows());
}

// The record command, the button and the caption follow the recorder.
void HlavLog::ShowState(qint64 nowMs) {
    const bool on = recorder_.Recording();
    const QString status = StatusText(nowMs);
    if (stateShown_ && status == shownStatus_ && button->isChecked() == on)
        return;
    stateShown_ = true;
    shownStatus_ = status;
    actionRecord->setText((on ? logtext::StopRecording : logtext::StartRecording).In(language_));
    actionMarker->setEnabled(on);
    button->setChecked(on);
    if (on) {
        const QString stop = logtext::StopRecording.In(language_) + QStringLiteral(" (Ctrl+R)");
        SetHint(button, status + QStringLiteral(" – ") + stop + QLatin1Char('|') + status, true);
        form_.setWindowTitle(baseCaption_ + QStringLiteral(" – ") + status);
    } else {
        SetHint(button, logtext::HintStart.In(language_), true);
        form_.setWindowTitle(baseCaption_);
    }
}

void HlavLog::Tick(qint64 nowMs) {
    recorder_.Tick(nowMs);
    if (recorder_.TakeStoppedByFailure()) {
        ShowState(nowMs);
        ReportFailure();
        return;
    }
    ShowState(nowMs);
}

void HlavLog::ReportFailure() {
    const QString path = QDir::toNativeSeparators(recorder_.FilePath());
    switch (recorder_.LastFailure()) {
    case Recorder::Failure::Folder:
        form_.ShowMessage(logtext::FolderFailed.In(language_).arg(path));
        break;
    case Recorder::Failure::Create:
        form_.ShowMessage(logtext::CreateFailed.In(language_).arg(path, recorder_.ErrorText()));
        break;
    case Recorder::Failure::Write:
        form_.ShowMessage(logtext::WriteFailed.In(language_).arg(path, recorder_.ErrorText()));
        break;
    case Recorder::Failure::None:
        break;
    }
}

void HlavLog::ToggleRecording() {
    if (recorder_.Recording())
        StopRecording();
    else
        StartRecording();
}

bool HlavLog::StartRecording() {
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    // The note says which parameter file the window held when the run began.
    const bool started = recorder_.Start(folder_, now, form_.ui.LabelFile2->text());
    ShowState(now);
    if (!started)
        ReportFailure();
    return started;
}

void HlavLog::StopRecording() {
    recorder_.Stop();
    ShowState(QDateTime::currentMSecsSinceEpoch());
}

int HlavLog::AddMarker() {
    const int number = recorder_.AddMarker(QDateTime::currentMSecsSinceEpoch());
    if (number > 0 && recorder_.TakeStoppedByFailure()) {
        ShowState(QDateTime::currentMSecsSinceEpoch());
        ReportFailure();
    }
    return recorder_.Recording() ? number : 0;
}

ChartWindow* HlavLog::MakeChart() {
    if (!chart_) {
        chart_ = new ChartWindow(feed_, &form_);
        chart_->SetLanguage(language_);
        // The record and marker keys work while the chart has the focus, too.
        chart_->addAction(actionRecord);
        chart_->addAction(actionMarker);
        connect(chart_, &ChartWindow::OpenLogRequested, this, &HlavLog::OpenLog);
    }
    return chart_;
}

void HlavLog::ShowChart() {
    ChartWindow* chart = MakeChart();
    chart->show();
    chart->raise();
    chart->activateWindow();
    chart->Refresh();
}

void HlavLog::OpenLog() {
    const QString path = chooseLog(folder_);
    if (!path.isEmpty())
        OpenLogFile(path);
}

bool HlavLog::OpenLogFile(const QString& path) {
    const LogReadResult read = ReadLog(path);
    const QString name = QFileInfo(path).fileName();
    QString detail;
    switch (read.error) {
    case LogReadError::None:
        break;
    case LogReadError::CannotOpen:
    case LogReadError::Cancelled:
        form_.ShowMessage(logtext::CannotOpen.In(language_).arg(name, read.detail));
        return false;
    case LogReadError::NotAFile:
        form_.ShowMessage(
            logtext::CannotOpen.In(language_).arg(name, logtext::NotAFile.In(language_)));
        return false;
    case LogReadError::TooLarge:
        form_.ShowMessage(
            logtext::CannotOpen.In(language_).arg(name, logtext::TooLarge.In(language_)));
        return false;
    case LogReadError::NotALog:
        form_.ShowMessage(logtext::NotALog.In(language_).arg(name).arg(read.line));
        return false;
    case LogReadError::FieldCount:
        detail = logtext::FieldCount.In(language_).arg(read.detail).arg(LogColumnCount());
        break;
    case LogReadError::BadValue:
        detail = logtext::BadValue.In(language_).arg(read.column, read.detail);
        break;
    case LogReadError::OpenQuote:
        detail = logtext::OpenQuote.In(language_);
        break;
    case LogReadError::CutOff:
        detail = logtext::CutOff.In(language_);
        break;
    }
    ChartWindow* chart = MakeChart();
    chart->ShowLog(ChartFeed::FromLog(read.rows), name);
    chart->show();
    chart->raise();
    if (!detail.isEmpty()) {
        QStringList lines;
        constexpr size_t kLinesNamed = 20; // the message stays a readable size
        for (size_t i = 0; i < std::min(kLinesNamed, read.skippedLines.size()); ++i)
            lines << QString::number(read.skippedLines[i]);
        if (read.skipped > static_cast<qint64>(lines.size()))
            lines << QStringLiteral("...");
        form_.ShowMessage(logtext::Damaged.In(language_)
                              .arg(name)
                              .arg(read.line)
                              .arg(detail)
                              .arg(read.rows.size())
                              .arg(read.skipped)
                              .arg(lines.join(QStringLiteral(", "))));
    }
    return true;
}

void HlavLog::ChooseFolder() {
    const QString folder = chooseFolder(folder_);
    if (!folder.isEmpty())
        SetFolder(folder);
}

void HlavLog::Close() {
    timer_.stop();
    recorder_.Stop();
    if (chart_)
        chart_->close();
}

} // namespace zyrk
