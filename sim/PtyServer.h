#pragma once

#include "SimUnit.h"

#include <QByteArray>
#include <QString>
#include <chrono>

namespace zyrk {

// Serves a SimUnit on a pseudo-terminal, so that the tool's real serial-port class can talk
// to it. The server holds one descriptor of the terminal side itself: without it, every time
// the tool closed the port (the watchdog does that every 30 ticks) the master would see a
// hang-up and the terminal would lose its raw settings.
//
// It is driven from a plain loop: ServeOnce() waits a bounded time for request bytes and
// answers every complete frame, so a test can also run it in-process.
class PtyServer {
  public:
    // The tool writes each frame in one piece, so bytes that sit without company for longer
    // than this are line noise; dropping them puts the next frame back on its boundary.
    static constexpr std::chrono::milliseconds kFrameGap{20};
    // Bound on waiting for the terminal to take a reply when nobody reads it.
    static constexpr int kWriteWaitMs = 100;
    static constexpr int kReadChunk = 4096;

    explicit PtyServer(SimUnit& unit);
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Creates the pseudo-terminal, sets its terminal side raw and keeps it open. On failure
    // returns false with the reason in error.
    bool Open(QString& error);
    bool IsOpen() const { return master_ >= 0; }
    // The terminal device the tool opens, e.g. /dev/pts/5.
    const QString& SlavePath() const { return slavePath_; }

    // Places a symbolic link at path pointing to the terminal device. An existing symbolic
    // link there is replaced in one step; anything else (a file, a folder) is left alone and
    // reported, since the path may have been mistyped onto someone's data.
    bool PlaceLink(const QString& path, QString& error);
    // Removes the link, but only while it still points to this server's device: another
    // server may have taken the path over meanwhile.
    void RemoveLink();

    // Waits at most timeoutMs for request bytes and answers every complete frame. Returns
    // false when the pseudo-terminal has failed and serving cannot go on.
    bool ServeOnce(int timeoutMs);

    // Faults of the line rather than of the unit, set before serving.
    // Every reply goes out twice, as a line that echoes or a unit that repeats itself would.
    bool answerTwice = false;
    // This many bytes of noise go out once, at the first request, before its reply.
    int noiseBytes = 0;
    // After this many more block frames are answered, the next block reply is cut off half-way
    // and the terminal closed, device link and all: an adapter pulled out mid-frame.
    int hangUpAfterFrames = -1;
    bool HungUp() const { return hungUp_; }

    // Counters for whoever drives the server.
    int framesAnswered = 0;
    int bytesDropped = 0;

  private:
    void DropStalePartial(std::chrono::steady_clock::time_point now);
    void AnswerCompleteFrames();
    void WriteReply(const QByteArray& reply);
    void WriteNoise();
    void HangUp();
    void CloseAll();

    SimUnit& unit_;
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
    QString linkPath_;
    QByteArray pending_;
    std::chrono::steady_clock::time_point lastByte_{};
    bool hungUp_ = false;
};

} // namespace zyrk
