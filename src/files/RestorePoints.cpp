#include "RestorePoints.h"

#include "FileWrite.h"
#include "ParameterFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStringList>
#include <QUrl>
#include <algorithm>
#include <cstdlib>
#include <optional>

namespace zyrk {

namespace {
constexpr char kIndexHeader[] = "ZYRK restore points 1";
constexpr char kLockName[] = ".lock";
constexpr char kTimeFormat[] = "yyyyMMdd-HHmmss-zzz";
constexpr int kLockWaitMs = 10000;
constexpr int kLoadedNameMax = 60; // of the loaded file's name inside a file name
constexpr int kNameFields = 7;
constexpr int kIndexFields = 9;

// Fields of a file name are separated by '_'; what a file name may not hold on any of the
// platforms, the separator and '%' itself are written as %XX.
QString EncodeNamePart(const QString& text) {
    QString out;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u < 0x20 || QStringLiteral("%_/\\:*?\"<>|").contains(c))
            out += QStringLiteral("%%1").arg(u, 2, 16, QLatin1Char('0')).toUpper();
        else
            out += c;
    }
    // A trailing dot or space is dropped by Windows.
    if (out.endsWith(QLatin1Char('.')) || out.endsWith(QLatin1Char(' ')))
        out += QStringLiteral("%00");
    return out;
}

QString DecodeNamePart(const QString& text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('%') && i + 2 < text.size()) {
            bool ok = false;
            const int u = text.mid(i + 1, 2).toInt(&ok, 16);
            if (ok) {
                if (u != 0)
                    out += QChar(u);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// An index field: tab, line ends and '%' as %XX.
QString EncodeIndexField(const QString& text) {
    return QString::fromLatin1(QUrl::toPercentEncoding(text, " !#$&'()*+,/:;=?@[]{}<>|\\\"^`~_"));
}

QString DecodeIndexField(const QString& text) {
    return QUrl::fromPercentEncoding(text.toLatin1());
}

bool SameFile(const RestorePoint& a, const RestorePoint& b) {
    return a.fileName == b.fileName;
}

void NewestFirst(std::vector<RestorePoint>& points) {
    std::stable_sort(points.begin(), points.end(),
                     [](const RestorePoint& a, const RestorePoint& b) {
                         if (a.time != b.time)
                             return a.time > b.time;
                         return a.fileName > b.fileName;
                     });
}
} // namespace

RestorePointStore::RestorePointStore(QString folder) : folder_(std::move(folder)) {
    if (!folder_.isEmpty() && !folder_.endsWith(QLatin1Char('/')))
        folder_ += QLatin1Char('/');
}

QString RestorePointStore::FolderIn(const QString& settingsFolder) {
    QString base = settingsFolder;
    if (!base.isEmpty() && !base.endsWith(QLatin1Char('/')) && !base.endsWith(QLatin1Char('\\')))
        base += QLatin1Char('/');
    return base + QLatin1String(kRestorePointsFolderName) + QLatin1Char('/');
}

QString RestorePointStore::KindToken(RestoreKind kind, bool afterChange) {
    switch (kind) {
    case RestoreKind::BeforeProgramming:
        return QStringLiteral("before");
    case RestoreKind::Read:
        return QStringLiteral("read");
    case RestoreKind::Programmed:
        return afterChange ? QStringLiteral("programmed-after-change")
                           : QStringLiteral("programmed");
    }
    return QString();
}

QString RestorePointStore::FileNameOf(const RestorePoint& p) {
    const QString loaded = QFileInfo(p.loadedFile).fileName().left(kLoadedNameMax);
    const QStringList parts = {
        p.time.toUTC().toString(QLatin1String(kTimeFormat)),
        KindToken(p.kind, p.afterChange),
        EncodeNamePart(p.program),
        p.programCount < 0 ? QStringLiteral("-") : QString::number(p.programCount),
        EncodeNamePart(p.firmwareName),
        EncodeNamePart(p.firmwareDate),
        EncodeNamePart(loaded),
    };
    return parts.join(QLatin1Char('_')) + QStringLiteral(".ign");
}

bool RestorePointStore::ParseFileName(const QString& fileName, RestorePoint& point) {
    if (!fileName.endsWith(QStringLiteral(".ign"), Qt::CaseInsensitive))
        return false;
    const QStringList parts = fileName.chopped(4).split(QLatin1Char('_'));
    if (parts.size() != kNameFields)
        return false;
    RestorePoint p;
    p.fileName = fileName;
    p.time = QDateTime::fromString(parts[0], QLatin1String(kTimeFormat));
    if (!p.time.isValid())
        return false;
    p.time.setTimeSpec(Qt::UTC);
    const QString& kind = parts[1];
    if (kind == QLatin1String("before")) {
        p.kind = RestoreKind::BeforeProgramming;
    } else if (kind == QLatin1String("read")) {
        p.kind = RestoreKind::Read;
    } else if (kind == QLatin1String("programmed")) {
        p.kind = RestoreKind::Programmed;
    } else if (kind == QLatin1String("programmed-after-change")) {
        p.kind = RestoreKind::Programmed;
        p.afterChange = true;
    } else {
        return false;
    }
    p.program = DecodeNamePart(parts[2]);
    bool ok = true;
    p.programCount = parts[3] == QLatin1String("-") ? -1 : parts[3].toInt(&ok);
    if (!ok)
        return false;
    p.firmwareName = DecodeNamePart(parts[4]);
    p.firmwareDate = DecodeNamePart(parts[5]);
    p.loadedFile = DecodeNamePart(parts[6]);
    point = p;
    return true;
}

QString RestorePointStore::PathOf(const RestorePoint& point) const {
    return folder_ + point.fileName;
}

std::vector<RestorePoint> RestorePointStore::ReadIndex(bool* complete) const {
    std::vector<RestorePoint> out;
    *complete = false;
    QFile file(folder_ + QLatin1String(kRestoreIndexName));
    if (!file.open(QIODevice::ReadOnly))
        return out;
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.isEmpty() || lines[0].trimmed() != kIndexHeader)
        return out;
    bool whole = true;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        if (line.isEmpty())
            continue;
        const QList<QByteArray> f = line.split('\t');
        RestorePoint p;
        // The name is the authority for what it holds; the index adds the full loaded path.
        if (f.size() != kIndexFields ||
            !ParseFileName(DecodeIndexField(QString::fromLatin1(f[0])), p)) {
            whole = false;
            continue;
        }
        p.loadedFile = DecodeIndexField(QString::fromLatin1(f[8]));
        out.push_back(p);
    }
    *complete = whole;
    return out;
}

std::vector<RestorePoint>
RestorePointStore::Reconciled(const std::vector<RestorePoint>& indexed) const {
    const QStringList files =
        QDir(folder_).entryList({QStringLiteral("*.ign")}, QDir::Files, QDir::Name);
    std::vector<RestorePoint> out;
    for (const QString& name : files) {
        const auto known = std::find_if(indexed.begin(), indexed.end(),
                                        [&](const RestorePoint& p) { return p.fileName == name; });
        if (known != indexed.end()) {
            out.push_back(*known);
            continue;
        }
        RestorePoint p;
        if (ParseFileName(name, p))
            out.push_back(p);
    }
    NewestFirst(out);
    return out;
}

std::vector<RestorePoint> RestorePointStore::List() const {
    bool complete = false;
    return Reconciled(ReadIndex(&complete));
}

bool RestorePointStore::WriteIndex(const std::vector<RestorePoint>& points, QString* why) const {
    QByteArray text = QByteArray(kIndexHeader) + "\r\n";
    for (const RestorePoint& p : points) {
        const QStringList fields = {
            EncodeIndexField(p.fileName),
            p.time.toUTC().toString(Qt::ISODateWithMs),
            KindToken(p.kind, p.afterChange),
            EncodeIndexField(p.program),
            QString::number(p.programCount),
            EncodeIndexField(p.firmwareName),
            EncodeIndexField(p.firmwareDate),
            QString(), // reserved
            EncodeIndexField(p.loadedFile),
        };
        text += fields.join(QLatin1Char('\t')).toLatin1() + "\r\n";
    }
    return ReplaceFile(folder_ + QLatin1String(kRestoreIndexName), text, why);
}

bool RestorePointStore::Keep(const ParamImage& image, RestorePoint meta, QString* why,
                             QDateTime now) {
    if (!QDir().mkpath(folder_)) {
        if (why)
            *why = QStringLiteral("%1: cannot create the folder")
                       .arg(QDir::toNativeSeparators(folder_));
        return false;
    }
    QLockFile lock(folder_ + QLatin1String(kLockName));
    if (!lock.tryLock(kLockWaitMs)) {
        if (why)
            *why = QStringLiteral("%1: the folder is locked by another program")
                       .arg(QDir::toNativeSeparators(folder_));
        return false;
    }
    std::vector<RestorePoint> points = List();
    const QByteArray bytes = WriteParameterFile(image);
    meta.time = (now.isValid() ? now : QDateTime::currentDateTimeUtc()).toUTC();

    std::optional<RestorePoint> replaced;
    if (!points.empty()) {
        const RestorePoint& newest = points.front();
        QFile old(PathOf(newest));
        if (old.open(QIODevice::ReadOnly) && old.readAll() == bytes)
            return true; // the same set twice in a row is one restore point
        if (meta.kind == RestoreKind::Programmed && meta.afterChange &&
            newest.kind == RestoreKind::Programmed && newest.afterChange &&
            newest.program == meta.program &&
            std::abs(newest.time.msecsTo(meta.time)) <= kRestoreStretchMs)
            replaced = newest;
    }
    // Unique within the folder: another program may have kept one in the same millisecond.
    meta.fileName = FileNameOf(meta);
    while (QFileInfo::exists(PathOf(meta)) && (!replaced || replaced->fileName != meta.fileName)) {
        meta.time = meta.time.addMSecs(1);
        meta.fileName = FileNameOf(meta);
    }
    if (!ReplaceFile(PathOf(meta), bytes, why))
        return false;
    if (replaced && replaced->fileName != meta.fileName)
        QFile::remove(PathOf(*replaced));
    points.erase(std::remove_if(points.begin(), points.end(),
                                [&](const RestorePoint& p) {
                                    return (replaced && SameFile(p, *replaced)) ||
                                           SameFile(p, meta);
                                }),
                 points.end());
    points.push_back(meta);
    NewestFirst(points);
    // The ".ign" is kept; an index that could not be written is rebuilt from it when read.
    WriteIndex(points, nullptr);
    return true;
}

bool RestorePointStore::Load(const RestorePoint& point, ParamImage& image, QString* why) const {
    QFile file(PathOf(point));
    if (!file.open(QIODevice::ReadOnly)) {
        if (why)
            *why = file.errorString();
        return false;
    }
    if (ReadParameterFile(file.readAll(), image) != FileRead::Ok) {
        if (why)
            *why = QStringLiteral("%1: not a whole parameter file").arg(point.fileName);
        return false;
    }
    return true;
}

bool RestorePointStore::Remove(const RestorePoint& point, QString* why) {
    QLockFile lock(folder_ + QLatin1String(kLockName));
    if (!lock.tryLock(kLockWaitMs)) {
        if (why)
            *why = QStringLiteral("%1: the folder is locked by another program")
                       .arg(QDir::toNativeSeparators(folder_));
        return false;
    }
    QFile file(PathOf(point));
    if (file.exists() && !file.remove()) {
        if (why)
            *why = file.errorString();
        return false;
    }
    std::vector<RestorePoint> points = List();
    return WriteIndex(points, why);
}

bool RestorePointStore::RebuildIndex(QString* why) {
    if (!QDir().mkpath(folder_))
        return false;
    QLockFile lock(folder_ + QLatin1String(kLockName));
    if (!lock.tryLock(kLockWaitMs))
        return false;
    return WriteIndex(Reconciled({}), why);
}

} // namespace zyrk
