#pragma once

#include "ChartFeed.h"
#include "Recorder.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class QAction;
class QMenu;
class QToolButton;

namespace zyrk {

class ChartWindow;
class TFormHlav;

// The data log and the chart wired into the main window: the "Log" menu, the record button
// on the second toolbar strip, the log folder kept in "application.ini", and the recorder fed
// by every monitor reply. While it records, the button stays down and its tooltip and the
// window caption say for how long and how many rows.
class HlavLog : public QObject {
    Q_OBJECT

  public:
    static constexpr int kStatusMs = 500; // how often the caption and the silence check run

    HlavLog(TFormHlav& form, const QString& applicationIni);
    ~HlavLog() override;

    void ApplyLanguage(int language);
    void Close(); // the main window closes: the log is closed, the chart goes

    // Commands
    void ToggleRecording();
    bool StartRecording();
    void StopRecording();
    int AddMarker();
    void ShowChart();
    void OpenLog();
    bool OpenLogFile(const QString& path);
    void ChooseFolder();

    // Runs on its own timer: notices a silent unit, reports a failed write, shows the time.
    void Tick(qint64 nowMs);

    QString Folder() const { return folder_; }
    void SetFolder(const QString& folder); // kept in application.ini
    QString DefaultFolder() const;
    QString StatusText(qint64 nowMs) const;

    Recorder& Recording() { return recorder_; }
    const ChartFeed& Feed() const { return feed_; }
    ChartWindow* Chart() const { return chart_; }

    // The dialogs, replaceable so that tests answer them; an empty text means cancelled.
    std::function<QString(const QString& folder)> chooseLog;
    std::function<QString(const QString& folder)> chooseFolder;

    QMenu* menu = nullptr;
    QAction* actionRecord = nullptr;
    QAction* actionMarker = nullptr;
    QAction* actionChart = nullptr;
    QAction* actionOpen = nullptr;
    QAction* actionFolder = nullptr;
    QToolButton* button = nullptr;

  private:
    void ShowState(qint64 nowMs);
    void ReportFailure();
    ChartWindow* MakeChart();

    TFormHlav& form_;
    QString applicationIni_;
    QString folder_;
    int language_ = 0;
    ChartFeed feed_;
    Recorder recorder_{feed_};
    ChartWindow* chart_ = nullptr;
    QTimer timer_;
    QString baseCaption_;
    QString shownStatus_;
    bool stateShown_ = false;
};

} // namespace zyrk
