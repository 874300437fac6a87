#include "Cli.h"

#include "Differences.h"
#include "FileWrite.h"
#include "IniStore.h"
#include "Limits.h"
#include "LogFile.h"
#include "ParameterFile.h"
#include "SettingsFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>

namespace zyrk::cli {

namespace {

// The unit counts its saving down from 800; the simulated one takes ten monitor replies.
// Twenty seconds is far beyond any unit that still answers.
constexpr int kSavingTicksMax = 20000 / kTickMs;
constexpr int kMsPerSecond = 1000;

QString ModeName(uint8_t mode) {
    switch (mode) {
    case ModeProgram:
        return QStringLiteral("program");
    case ModeVerify:
        return QStringLiteral("verify");
    default:
        return QStringLiteral("read");
    }
}

QString CommandName(Command command) {
    switch (command) {
    case Command::Read:
        return QStringLiteral("read");
    case Command::Verify:
        return QStringLiteral("verify");
    case Command::Program:
        return QStringLiteral("program");
    case Command::Compare:
        return QStringLiteral("compare");
    case Command::Monitor:
        return QStringLiteral("monitor");
    default:
        return QString();
    }
}

bool TakesFile(Command command) {
    return command == Command::Read || command == Command::Verify || command == Command::Program ||
           command == Command::Compare;
}

} // namespace

QString UsageText() {
    return QStringLiteral(
        "Usage: zyrk-cli [--port COMn|DEVICE] [--json] [--quiet] COMMAND\n"
        "  read OUT.ign          read the unit, then verify the read, then write OUT.ign\n"
        "  verify FILE.ign       compare the unit with the file block by block\n"
        "  program FILE.ign      program the file, then verify as the window does\n"
        "  compare FILE.ign      list the fields that differ between unit and file\n"
        "  monitor [--seconds N] [--log FILE.csv]   print live values (and log them)\n"
        "  --help, --version\n"
        "\n"
        "Without --port the ports COM1 .. COM21 are searched as the window does; the\n"
        "section [PORTS] of application.ini in the settings folder maps them to devices.\n"
        "Progress goes to standard error, results to standard output (one JSON object\n"
        "with --json).\n"
        "\n"
        "Exit codes: 0 success; 1 the unit differs from the file, or the check after a\n"
        "program failed; 2 bad usage; 3 no unit answered or the line failed; 4 the unit\n"
        "reports another version; 5 the file could not be read or written; 130 Ctrl+C.\n");
}

int ComNumber(const QString& text) {
    if (!text.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
        return 0;
    bool ok = false;
    const int n = text.mid(3).toInt(&ok);
    return ok && n >= 1 && n <= kPortCount && text.mid(3) == QString::number(n) ? n : 0;
}

bool ParseArguments(const QStringList& arguments, Options& options, QString& error) {
    QStringList rest;
    for (int i = 0; i < arguments.size(); ++i) {
        QString arg = arguments[i];
        QString value;
        bool hasValue = false;
        if (arg.startsWith(QLatin1String("--")) && arg.contains(u'=')) {
            value = arg.section(u'=', 1);
            arg = arg.section(u'=', 0, 0);
            hasValue = true;
        }
        auto takeValue = [&]() -> bool {
            if (hasValue)
                return true;
            if (i + 1 >= arguments.size()) {
                error = arg + QStringLiteral(" needs a value");
                return false;
            }
            value = arguments[++i];
            return true;
        };
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            options.command = Command::Help;
            return true;
        }
        if (arg == QLatin1String("--version")) {
            options.command = Command::Version;
            return true;
        }
        if (arg == QLatin1String("--json")) {
            options.json = true;
        } else if (arg == QLatin1String("--quiet")) {
            options.quiet = true;
        } else if (arg == QLatin1String("--port")) {
            if (!takeValue())
                return false;
            if (value.isEmpty()) {
                error = QStringLiteral("--port needs a value");
                return false;
            }
            options.port = value;
        } else if (arg == QLatin1String("--seconds")) {
            if (!takeValue())
                return false;
            bool ok = false;
            options.seconds = value.toInt(&ok);
            if (!ok || options.seconds < 0) {
                error = QStringLiteral("--seconds needs a whole number of seconds, not ") + value;
                return false;
            }
        } else if (arg == QLatin1String("--log")) {
            if (!takeValue())
                return false;
            options.logFile = value;
        } else if (arg.startsWith(u'-') && arg.size() > 1) {
            error = QStringLiteral("unknown option ") + arg;
            return false;
        } else {
            rest << arguments[i];
        }
    }
    if (rest.isEmpty()) {
        error = QStringLiteral("no command given");
        return false;
    }
    const QString word = rest.takeFirst();
    const Command commands[] = {Command::Read, Command::Verify, Command::Program, Command::Compare,
                                Command::Monitor};
    for (Command c : commands) {
        if (word == CommandName(c))
            options.command = c;
    }
    if (options.command == Command::None) {
        error = QStringLiteral("unknown command ") + word;
        return false;
    }
    if (TakesFile(options.command)) {
        if (rest.size() != 1) {
            error = word + QStringLiteral(" needs one file");
            return false;
        }
        options.file = rest.first();
    } else if (!rest.isEmpty()) {
        error = QStringLiteral("monitor takes no file: ") + rest.first();
        return false;
    }
    if (options.command != Command::Monitor &&
        (options.seconds >= 0 || !options.logFile.isEmpty())) {
        error = QStringLiteral("--seconds and --log belong to monitor");
        return false;
    }
    return true;
}

Session::Session(Port& port, const Options& options, QTextStream& out, QTextStream& err)
    : port_(port), options_(options), out_(out), err_(err), link_(port, image_, messages_, *this) {
    messages_.Fill(LangEnglish);
    link_.AddTransferObserver([this](const TransferEvent& e) { OnTransfer(e); });
    link_.AddSampleObserver([this](const MonitorSample& s) { OnSample(s); });
    json_.insert(QStringLiteral("command"), CommandName(options_.command));
}

Session::~Session() = default;

void Session::LoadPorts(const QString& applicationIni) {
    if (QFileInfo::exists(applicationIni))
        LoadPortTable(IniStore(applicationIni), link_.Names());
}

void Session::ApplyLimits() {
    ApplyAxisLimits(image_);
}

void Session::ShowMessage(const QString& text) {
    // A message box of the window; the run's result says the same in its own words.
    if (!finished_)
        err_ << "zyrk-cli: " << text << Qt::endl;
}

void Session::Progress(const QString& line) {
    if (!options_.quiet)
        err_ << line << Qt::endl;
}

bool Session::ReadFile(ParamImage& image) {
    QFile file(options_.file);
    if (!file.open(QIODevice::ReadOnly)) {
        Finish(kExitFile, QStringLiteral("file error"),
               options_.file + QStringLiteral(": cannot be read (") + file.errorString() +
                   QStringLiteral("); nothing was sent"));
        return false;
    }
    FactoryDefaults(image);
    const FileRead read = ReadParameterFile(file.readAll(), image);
    if (read == FileRead::Ok) {
        ApplyAxisLimits(image); // as the window does after opening a file
        return true;
    }
    const QString why = read == FileRead::NoHeader
                            ? QStringLiteral("not a parameter file of version %1").arg(kToolVersion)
                            : QStringLiteral("damaged");
    Finish(kExitFile, QStringLiteral("file error"),
           options_.file + QStringLiteral(": ") + why + QStringLiteral("; nothing was sent"));
    return false;
}

bool Session::Prepare() {
    switch (options_.command) {
    case Command::Read: {
        // The file is written after the read; a place it cannot go is found before.
        if (!CanReplaceFile(options_.file)) {
            Finish(kExitFile, QStringLiteral("file error"),
                   options_.file + QStringLiteral(": cannot be written; nothing was sent"));
            return false;
        }
        break;
    }
    case Command::Verify:
    case Command::Program:
        if (!ReadFile(image_))
            return false;
        fileImage_ = image_;
        break;
    case Command::Compare:
        if (!ReadFile(fileImage_))
            return false;
        break;
    case Command::Monitor:
        if (!options_.logFile.isEmpty()) {
            // The window's data log, so that its chart opens what the command line recorded.
            // An existing file is never overwritten.
            log_ = std::make_unique<LogWriter>();
            LogRow start;
            start.event = LogEvent::Start;
            start.timeMs = logStartMs_ = QDateTime::currentMSecsSinceEpoch();
            if (!log_->Open(options_.logFile) || !log_->Append(start)) {
                Finish(kExitFile, QStringLiteral("file error"),
                       options_.logFile + QStringLiteral(": cannot be written (") +
                           log_->ErrorText() + QStringLiteral(")"));
                return false;
            }
        }
        break;
    default:
        break;
    }
    Begin();
    return !finished_;
}

QString Session::PortText() {
    const int n = link_.ComIndex == kComAuto ? link_.AutoScanIndex + 1 : link_.ComIndex + 1;
    const QString path = link_.Names().Path(n);
    if (!options_.port.isEmpty() && ComNumber(options_.port) == 0)
        return path;
    return QStringLiteral("COM%1 (%2)").arg(n).arg(path);
}

void Session::Begin() {
    // Nothing has answered yet: a failed block then tells a silent line from a refusing unit.
    link_.SilentTicks = kSilentLimit;
    if (options_.port.isEmpty()) {
        Progress(QStringLiteral("searching COM1 .. COM%1").arg(kPortCount));
        link_.ComIndex = kComAuto;
        link_.AutoScanIndex = 0;
        link_.QuietReopen = true;
        link_.OpenPort();
        lastScanIndex_ = link_.AutoScanIndex;
        phase_ = Phase::Search;
        return;
    }
    const int n = ComNumber(options_.port);
    if (n == 0)
        link_.Names().SetPath(1, options_.port);
    link_.ComIndex = static_cast<uint8_t>(n == 0 ? 0 : n - 1);
    link_.OpenPort();
    portLabel_ = PortText();
    json_.insert(QStringLiteral("port"), portLabel_);
    if (!port_.IsOpen()) {
        Finish(kExitNoUnit, QStringLiteral("no unit"),
               portLabel_ + QStringLiteral(": the port cannot be opened"));
        return;
    }
    StartCommand();
}

void Session::StartCommand() {
    transferTicks_ = 0;
    switch (options_.command) {
    case Command::Read:
        link_.StartRead();
        break;
    case Command::Verify:
        link_.StartVerify();
        break;
    case Command::Program:
        link_.StartProgramming();
        break;
    case Command::Compare:
        link_.StartReadAside();
        break;
    default:
        phase_ = Phase::Monitor;
        monitorTicks_ = 0;
        link_.SilentTicks = 0; // the watchdog's 18 silent ticks decide that nothing answers
        return;
    }
    phase_ = Phase::Transfer;
    // The window sends a command's first frame when its tick count reaches 4, one to four
    // ticks after the command; here the count is already there, so the first frame leaves
    // on the next tick.
    link_.TickCount = kResendTicks - 1;
}

void Session::Tick() {
    if (finished_)
        return;
    link_.Tick();
    if (finished_) {
        // Ended by an observer inside the tick, whose watchdog may have reopened the port
        // after Finish closed it.
        link_.ClosePort();
        return;
    }
    switch (phase_) {
    case Phase::Search:
        if (answered_) {
            link_.ComIndex = link_.AutoScanIndex; // the watchdog keeps to the port that answered
            portLabel_ = PortText();
            json_.insert(QStringLiteral("port"), portLabel_);
            // Said even with --quiet: which port it was is a result, not progress.
            err_ << "the unit answered on " << portLabel_ << Qt::endl;
            StartCommand();
        } else if (link_.AutoScanIndex != lastScanIndex_) {
            lastScanIndex_ = link_.AutoScanIndex;
            if (++scanSteps_ >= kPortCount)
                Finish(kExitNoUnit, QStringLiteral("no unit"),
                       QStringLiteral("no unit answered on COM1 .. COM%1").arg(kPortCount));
        }
        break;
    case Phase::Transfer:
        ++transferTicks_;
        break;
    case Phase::Saving:
        if (++savingTicks_ > kSavingTicksMax || link_.SilentTicks >= kSilentLimit)
            Finish(kExitNoUnit, QStringLiteral("line failed"),
                   QStringLiteral("programmed and verified, but the unit stopped answering "
                                  "before it reported its saving finished"));
        break;
    case Phase::Monitor:
        ++monitorTicks_;
        if (link_.SilentTicks >= kSilentLimit) {
            Finish(kExitNoUnit,
                   answered_ ? QStringLiteral("line failed") : QStringLiteral("no unit"),
                   answered_ ? QStringLiteral("the unit stopped answering")
                             : portLabel_ + QStringLiteral(": no unit answered"));
        } else if (options_.seconds >= 0 &&
                   monitorTicks_ * kTickMs >= options_.seconds * kMsPerSecond) {
            Finish(kExitOk, QStringLiteral("ok"),
                   QStringLiteral("%1 samples").arg(samples_.size() + sampleCount_));
        }
        break;
    }
}

void Session::Interrupt() {
    if (!finished_)
        Finish(kExitInterrupted, QStringLiteral("interrupted"), QStringLiteral("interrupted"));
}

void Session::OnTransfer(const TransferEvent& event) {
    if (finished_ || phase_ != Phase::Transfer)
        return;
    switch (event.kind) {
    case TransferEvent::Kind::Block:
        Progress(QStringLiteral("%1 block %2").arg(ModeName(event.mode)).arg(event.block));
        break;
    case TransferEvent::Kind::Done:
        TransferDone();
        break;
    case TransferEvent::Kind::Failed:
        TransferFailed(event);
        break;
    case TransferEvent::Kind::Version: {
        const int version = event.aside ? link_.AsideImage().UnitVersion() : image_.UnitVersion();
        json_.insert(QStringLiteral("unitVersion"), version);
        Finish(kExitVersion, QStringLiteral("version"),
               messages_[MsgUnmatchedVersion] +
                   QStringLiteral("  PC-%1, IGN-%2").arg(kToolVersion).arg(version) +
                   QStringLiteral(" (nothing after block 0 was sent)"));
        break;
    }
    }
}

void Session::TransferDone() {
    switch (options_.command) {
    case Command::Read: {
        // Whole or not at all: a full disk keeps the file that was there.
        if (!ReplaceFile(options_.file, WriteParameterFile(image_))) {
            Finish(kExitFile, QStringLiteral("file error"),
                   options_.file + QStringLiteral(": cannot be written (disk full or not a "
                                                  "regular file)"));
            return;
        }
        const UnitTexts& unit = link_.Texts();
        QJsonObject u;
        u.insert(QStringLiteral("name"), unit.name);
        u.insert(QStringLiteral("date"), unit.date);
        u.insert(QStringLiteral("time"), unit.time);
        json_.insert(QStringLiteral("unit"), u);
        json_.insert(QStringLiteral("file"), options_.file);
        Finish(kExitOk, QStringLiteral("ok"),
               QStringLiteral("read %1 %2 %3 into %4, verified")
                   .arg(unit.name, unit.date.trimmed(), unit.time, options_.file));
        return;
    }
    case Command::Verify:
        json_.insert(QStringLiteral("file"), options_.file);
        Finish(kExitOk, QStringLiteral("ok"), QStringLiteral("the unit matches ") + options_.file);
        return;
    case Command::Program:
        json_.insert(QStringLiteral("file"), options_.file);
        phase_ = Phase::Saving;
        savingTicks_ = 0;
        Progress(QStringLiteral("programmed and verified; waiting for the unit to save"));
        return;
    case Command::Compare: {
        const std::vector<Difference> diffs = Differences(fileImage_, link_.AsideImage());
        QJsonArray list;
        QString text;
        int page = -1;
        for (const Difference& d : diffs) {
            const QString field = DiffFieldName(d, LangEnglish);
            const QString ours = DiffValueText(d.ours, d.oursUnit, LangEnglish);
            const QString theirs = DiffValueText(d.theirs, d.theirsUnit, LangEnglish);
            if (d.page != page) {
                page = d.page;
                text += DiffPageName(page, LangEnglish) + QLatin1Char('\n');
            }
            text += QStringLiteral("  %1: file %2, unit %3\n").arg(field, ours, theirs);
            QJsonObject o;
            o.insert(QStringLiteral("page"), DiffPageName(d.page, LangEnglish));
            o.insert(QStringLiteral("field"), field);
            if (d.row >= 0)
                o.insert(QStringLiteral("row"), d.row);
            if (d.column >= 0)
                o.insert(QStringLiteral("column"), d.column);
            o.insert(QStringLiteral("file"), ours);
            o.insert(QStringLiteral("unit"), theirs);
            list.append(o);
        }
        json_.insert(QStringLiteral("file"), options_.file);
        json_.insert(QStringLiteral("differences"), list);
        if (diffs.empty()) {
            Finish(kExitOk, QStringLiteral("ok"), QStringLiteral("No differences"));
        } else {
            text += QStringLiteral("differences: %1").arg(diffs.size());
            Finish(kExitDiffers, QStringLiteral("differs"), text);
        }
        return;
    }
    default:
        return;
    }
}

void Session::TransferFailed(const TransferEvent& event) {
    json_.insert(QStringLiteral("block"), event.block);
    // Any reply to the failing block reset the silence count within its last sends: the unit
    // answered, but with a block other than the one sent or expected.
    const bool answered = link_.SilentTicks < kSilentLimit;
    const bool check = event.mode == ModeVerify || event.mode == ModeProgram;
    if (answered && check && !event.aside) {
        const QString what =
            options_.command == Command::Read ? QStringLiteral("what was read") : options_.file;
        Finish(kExitDiffers, QStringLiteral("differs"),
               QStringLiteral("%1 block %2: the unit's block differs from %3")
                   .arg(ModeName(event.mode))
                   .arg(event.block)
                   .arg(what));
        return;
    }
    Finish(kExitNoUnit,
           answered_ || event.block > 0 ? QStringLiteral("line failed") : QStringLiteral("no unit"),
           QStringLiteral("%1 block %2: no reply from the unit on %3")
               .arg(ModeName(event.mode))
               .arg(event.block)
               .arg(portLabel_));
}

void Session::OnSample(const MonitorSample& s) {
    answered_ = true;
    if (finished_)
        return;
    if (phase_ == Phase::Saving) {
        if (s.busyCountdown == 0) {
            Finish(kExitOk, QStringLiteral("ok"),
                   QStringLiteral("programmed %1, verified and saved").arg(options_.file));
        } else {
            Progress(QStringLiteral("saving %1").arg(s.busyCountdown));
        }
        return;
    }
    if (phase_ != Phase::Monitor)
        return;
    if (log_) {
        LogRow row;
        row.timeMs = s.timeMs;
        row.sinceMs = s.timeMs - logStartMs_;
        row.sample = s;
        if (!log_->Append(row)) {
            // What was written stays readable; the run ends as a file failure.
            Finish(kExitFile, QStringLiteral("file error"),
                   options_.logFile + QStringLiteral(": writing stopped (") + log_->ErrorText() +
                       QStringLiteral(")"));
            return;
        }
    }
    if (options_.json) {
        QJsonObject o;
        o.insert(QStringLiteral("timeMs"), s.timeMs);
        o.insert(QStringLiteral("rpm"), s.rpm);
        o.insert(QStringLiteral("tpPercent"), s.tpPercent);
        o.insert(QStringLiteral("tpsMv"), s.tpsMv);
        o.insert(QStringLiteral("supplyMv"), s.supplyMv);
        o.insert(QStringLiteral("servo1DesiredMv"), s.servoDesiredMv[0]);
        o.insert(QStringLiteral("servo1MeasuredMv"), s.servoMeasuredMv[0]);
        o.insert(QStringLiteral("servo2DesiredMv"), s.servoDesiredMv[1]);
        o.insert(QStringLiteral("servo2MeasuredMv"), s.servoMeasuredMv[1]);
        o.insert(QStringLiteral("programCount"), s.programCount);
        o.insert(QStringLiteral("dataError"), s.dataError);
        o.insert(QStringLiteral("version"), s.unitVersion);
        samples_.append(o);
        return;
    }
    ++sampleCount_;
    const QString tp =
        s.tpPercent <= 100 ? QStringLiteral("%1 %").arg(s.tpPercent) : QStringLiteral("error");
    out_ << QStringLiteral("rpm %1  tp %2  tps %3 mV  supply %4 mV  servo1 %5/%6 mV  "
                           "servo2 %7/%8 mV")
                .arg(s.rpm)
                .arg(tp)
                .arg(s.tpsMv)
                .arg(s.supplyMv)
                .arg(s.servoDesiredMv[0])
                .arg(s.servoMeasuredMv[0])
                .arg(s.servoDesiredMv[1])
                .arg(s.servoMeasuredMv[1])
         << Qt::endl;
}

void Session::Finish(int exit, const QString& result, const QString& text) {
    finished_ = true;
    exit_ = exit;
    link_.ClosePort();
    if (log_)
        log_->Close();
    if (options_.json) {
        json_.insert(QStringLiteral("result"), result);
        json_.insert(QStringLiteral("exit"), exit);
        json_.insert(QStringLiteral("message"), text);
        if (options_.command == Command::Monitor)
            json_.insert(QStringLiteral("samples"), samples_);
        out_ << QJsonDocument(json_).toJson(QJsonDocument::Compact) << Qt::endl;
    } else {
        out_ << text << Qt::endl;
    }
}

} // namespace zyrk::cli
