// zyrk-sim: a simulated unit on a pseudo-terminal, for the demo and the end-to-end tests.

#include "PtyServer.h"
#include "SimUnit.h"

#include <QString>
#include <charconv>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
// Bound of one wait for requests, so that a signal or a closed standard input is noticed
// promptly even on a platform where poll() is not interrupted.
constexpr int kServeSliceMs = 50;
constexpr int kVersionMax = 255;
constexpr int kFirstSettingsBlock = 1;
constexpr int kLastBlock = zyrk::kBlockCount - 1;

constexpr const char kUsage[] =
    "Usage: zyrk-sim [options]\n"
    "Serves a simulated ZYRK unit on a pseudo-terminal. The first line on standard output is\n"
    "the terminal device to open. Runs until SIGTERM or SIGINT (Ctrl+C).\n"
    "\n"
    "Options:\n"
    "  --link PATH         place a symbolic link to the device at PATH, removed at exit;\n"
    "                      an existing symbolic link is replaced, anything else is refused\n"
    "  --still             keep the live values still\n"
    "  --silent            answer nothing\n"
    "  --spoil-check       send every reply with a wrong check byte\n"
    "  --previous-block    answer block frames with the command of the block before\n"
    "  --changed-block N   keep block N (1..7) with one byte changed when it is programmed\n"
    "  --version N         report program version N (0..255) instead of 56\n"
    "  --cut-after N       answer N more block frames (N >= 0), then fall silent\n"
    "  --twice             send every reply twice\n"
    "  --noise N           send N bytes of noise at the first request, before its reply\n"
    "  --hang-up-after N   answer N more block frames (N >= 0), then send half of the next\n"
    "                      reply, close the terminal, remove the link and exit, as an adapter\n"
    "                      pulled out mid-frame\n"
    "  --exit-with-stdin   exit also when standard input reaches its end, so that a test\n"
    "                      that dies takes its simulator along\n"
    "  --help              show this text\n";

volatile std::sig_atomic_t gStop = 0;

void OnStopSignal(int) {
    gStop = 1;
}

struct Options {
    QString link;
    zyrk::SimUnit::Faults faults;
    bool still = false;
    bool twice = false;
    int noise = 0;
    int hangUpAfter = -1;
    bool exitWithStdin = false;
    bool help = false;
};

bool ParseInt(std::string_view text, int low, int high, int& out) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < low || value > high)
        return false;
    out = value;
    return true;
}

// Accepts "--name value" and "--name=value". On failure error names the culprit.
bool ParseArguments(int argc, char** argv, Options& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string_view arg(argv[i]);
        std::string_view inlineValue;
        bool hasInline = false;
        if (arg.starts_with("--")) {
            const size_t eq = arg.find('=');
            if (eq != std::string_view::npos) {
                inlineValue = arg.substr(eq + 1);
                arg = arg.substr(0, eq);
                hasInline = true;
            }
        }
        const auto value = [&](std::string_view& out) {
            if (hasInline) {
                out = inlineValue;
                return true;
            }
            if (i + 1 >= argc) {
                error = std::string(arg) + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        const auto number = [&](int low, int high, int& out) {
            std::string_view text;
            if (!value(text))
                return false;
            if (!ParseInt(text, low, high, out)) {
                error = std::string(arg) + " takes a whole number from " + std::to_string(low) +
                        (high == INT_MAX ? std::string(" up") : " to " + std::to_string(high)) +
                        ", not \"" + std::string(text) + "\"";
                return false;
            }
            return true;
        };
        const auto flag = [&](bool& out) {
            if (hasInline) {
                error = std::string(arg) + " takes no value";
                return false;
            }
            out = true;
            return true;
        };

        bool ok = true;
        if (arg == "--link") {
            std::string_view text;
            ok = value(text);
            if (ok && text.empty()) {
                error = "--link needs a path";
                ok = false;
            }
            if (ok)
                options.link =
                    QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
        } else if (arg == "--still") {
            ok = flag(options.still);
        } else if (arg == "--silent") {
            ok = flag(options.faults.silent);
        } else if (arg == "--spoil-check") {
            ok = flag(options.faults.spoilCheck);
        } else if (arg == "--previous-block") {
            ok = flag(options.faults.previousBlock);
        } else if (arg == "--changed-block") {
            ok = number(kFirstSettingsBlock, kLastBlock, options.faults.changedBlock);
        } else if (arg == "--version") {
            ok = number(0, kVersionMax, options.faults.version);
        } else if (arg == "--cut-after") {
            ok = number(0, INT_MAX, options.faults.cutAfterFrames);
        } else if (arg == "--twice") {
            ok = flag(options.twice);
        } else if (arg == "--noise") {
            ok = number(0, INT_MAX, options.noise);
        } else if (arg == "--hang-up-after") {
            ok = number(0, INT_MAX, options.hangUpAfter);
        } else if (arg == "--exit-with-stdin") {
            ok = flag(options.exitWithStdin);
        } else if (arg == "--help" || arg == "-h") {
            ok = flag(options.help);
        } else {
            error = "unknown option " + std::string(argv[i]);
            ok = false;
        }
        if (!ok)
            return false;
    }
    return true;
}

void InstallStopHandlers() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: the wait in the serving loop should return at once.
    action.sa_flags = 0;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

// True once standard input has reached its end; whatever it carries is ignored.
bool StdinEnded() {
    pollfd p{STDIN_FILENO, POLLIN, 0};
    if (poll(&p, 1, 0) <= 0)
        return false;
    if ((p.revents & POLLIN) == 0)
        return (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    char buffer[256];
    return read(STDIN_FILENO, buffer, sizeof buffer) == 0;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    std::string usageError;
    if (!ParseArguments(argc, argv, options, usageError)) {
        std::fprintf(stderr, "zyrk-sim: %s\nTry zyrk-sim --help.\n", usageError.c_str());
        return kExitUsage;
    }
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }

    // Before the link exists, so that a stop request can never leave it behind.
    InstallStopHandlers();

    zyrk::SimUnit unit;
    unit.faults = options.faults;
    unit.moving = !options.still;
    zyrk::PtyServer server(unit);
    server.answerTwice = options.twice;
    server.noiseBytes = options.noise;
    server.hangUpAfterFrames = options.hangUpAfter;
    QString error;
    if (!server.Open(error) ||
        (!options.link.isEmpty() && !server.PlaceLink(options.link, error))) {
        std::fprintf(stderr, "zyrk-sim: %s\n", error.toLocal8Bit().constData());
        return kExitFailure;
    }
    // Printed only once the link is in place: a reader may open either at once.
    std::printf("%s\n", server.SlavePath().toLocal8Bit().constData());
    std::fflush(stdout);

    int status = 0;
    while (gStop == 0) {
        const bool served = server.ServeOnce(kServeSliceMs);
        if (server.HungUp())
            break; // an adapter pulled out: gone without a word
        if (!served) {
            std::fprintf(stderr, "zyrk-sim: the pseudo-terminal failed\n");
            status = kExitFailure;
            break;
        }
        if (options.exitWithStdin && StdinEnded())
            break;
    }
    server.RemoveLink();
    return status;
}
