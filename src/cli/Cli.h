#pragma once

#include "Link.h"
#include "LogFile.h"
#include "ParamImage.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <memory>

namespace zyrk::cli {

// What the process returns; scripts on the production line test these numbers.
enum Exit : int {
    kExitOk = 0,
    kExitDiffers = 1,       // the unit differs from the file, or the check after a program failed
    kExitUsage = 2,         // bad command line
    kExitNoUnit = 3,        // no unit answered, or the line failed mid-transfer
    kExitVersion = 4,       // the unit reports another program version
    kExitFile = 5,          // the file could not be read or written; nothing was sent
    kExitInterrupted = 130, // Ctrl+C; the port was closed first
};

enum class Command { None, Help, Version, Read, Verify, Program, Compare, Monitor };

struct Options {
    QString port; // "COMn" or a device path; empty: search COM1 .. COM21
    bool json = false;
    bool quiet = false;
    Command command = Command::None;
    QString file;     // OUT.ign or FILE.ign
    int seconds = -1; // monitor: run this long; -1 until Ctrl+C
    QString logFile;  // monitor: CSV of the samples
};

// False with the reason in error when the arguments do not make one command.
bool ParseArguments(const QStringList& arguments, Options& options, QString& error);
QString UsageText();

// Port n of "COMn" (case ignored), 0 when the text names no COM port.
int ComNumber(const QString& text);

// One run of the command line on a port: searches or opens the port, carries one command
// out over the link tick by tick, and reports. Tick() is called every 55 ms by main (tests
// and the benchmark call it themselves); Finished() tells when the process may exit.
class Session : public LinkHost {
  public:
    Session(Port& port, const Options& options, QTextStream& out, QTextStream& err);
    ~Session() override;

    // Points COMn at the paths of the settings' [PORTS] section, as the window does.
    void LoadPorts(const QString& applicationIni);
    // File checks that come before anything is sent; false when the run ended here.
    bool Prepare();
    void Tick();
    // Ctrl+C: the port is closed and the run ends with kExitInterrupted.
    void Interrupt();

    bool Finished() const { return finished_; }
    int ExitCode() const { return exit_; }
    Link& TheLink() { return link_; }
    int TransferTicks() const { return transferTicks_; } // ticks since the command started

    // LinkHost: the command line has no editor to show the image in.
    void ApplyLimits() override;
    void ShowImage() override {}
    void ShowMessage(const QString& text) override;

  private:
    enum class Phase { Search, Transfer, Saving, Monitor };

    void Begin();
    void StartCommand();
    void OnTransfer(const TransferEvent& event);
    void OnSample(const MonitorSample& sample);
    void TransferDone();
    void TransferFailed(const TransferEvent& event);
    void Finish(int exit, const QString& result, const QString& text);
    void Progress(const QString& line);
    QString PortText();
    bool ReadFile(ParamImage& image);

    Port& port_;
    Options options_;
    QTextStream& out_;
    QTextStream& err_;
    ParamImage image_; // the file's values (verify, program) or what was read (read)
    ParamImage fileImage_;
    MessageTable messages_;
    Link link_;
    Phase phase_ = Phase::Search;
    bool finished_ = false;
    int exit_ = kExitOk;
    bool started_ = false;
    int scanSteps_ = 0;
    uint8_t lastScanIndex_ = 0;
    bool answered_ = false; // a monitor reply arrived since the port was opened
    int transferTicks_ = 0;
    int savingTicks_ = 0;
    int monitorTicks_ = 0;
    int sampleCount_ = 0;
    QString portLabel_;
    QJsonObject json_;
    QJsonArray samples_;
    std::unique_ptr<LogWriter> log_;
    qint64 logStartMs_ = 0;
};

} // namespace zyrk::cli
