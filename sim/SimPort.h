#pragma once

#include "Port.h"
#include "SimUnit.h"

#include <QSet>
#include <QVector>

namespace zyrk {

// An in-process port wired to a simulated unit: a frame written now has its reply waiting
// at the next poll. Tests can also choose which device paths exist and push raw bytes.
class SimPort : public Port {
  public:
    explicit SimPort(SimUnit& unit) : unit_(unit) {}

    bool Open(const QString& path) override;
    void Close() override;
    bool IsOpen() const override { return open_; }
    qint64 BytesWaiting() override { return open_ ? rx_.size() : 0; }
    QByteArray Read(qint64 max) override;
    void Write(const QByteArray& frame) override;
    PortOpenFailure LastOpenError() const override { return open_ ? PortOpenFailure{} : failure; }

    // Paths that can be opened; empty means every path exists.
    QSet<QString> existing;
    // What an open of a path that does not exist reports.
    PortOpenFailure failure{PortError::NotFound, QStringLiteral("No such file or directory")};
    // Every open attempt and every frame written, in order.
    QStringList opened;
    QVector<QByteArray> written;

    void Inject(const QByteArray& bytes) { rx_ += bytes; }
    qint64 Queued() const { return rx_.size(); }

  private:
    SimUnit& unit_;
    bool open_ = false;
    QByteArray rx_;
};

} // namespace zyrk
