#pragma once

#include "ParamImage.h"

#include <QDateTime>
#include <QString>
#include <vector>

namespace zyrk {

// What a restore point holds: what was in the unit before it was first programmed, what a
// Read brought from it, or what was programmed into it.
enum class RestoreKind { BeforeProgramming, Read, Programmed };

inline constexpr char kRestorePointsFolderName[] = "Restore points";
inline constexpr char kRestoreIndexName[] = "index.txt";
// Programmings after change closer together than this are one stretch of work: each
// replaces the restore point of the one before instead of adding another.
inline constexpr qint64 kRestoreStretchMs = 10 * 60 * 1000;

// One restore point: the ".ign" file (byte for byte what Save writes) and what the file
// cannot hold. Everything but the full path of the loaded file is also in the file's name,
// so the index can be rebuilt from the files.
struct RestorePoint {
    QString fileName; // inside the restore-point folder
    QDateTime time;   // UTC
    RestoreKind kind = RestoreKind::Read;
    bool afterChange = false; // written by programming after change
    QString program;          // "zyrk" (the window) or "zyrk-cli"
    int programCount = -1;    // the unit's programming count; -1 when unknown
    QString firmwareName;     // from the unit's version block
    QString firmwareDate;
    QString loadedFile; // the parameter file that was loaded, if any
};

// The restore-point folder: the ".ign" files and one small index beside them. Every write
// goes through ReplaceFile, under a lock file, so two programs keeping restore points at the
// same time never lose one; the index is reconciled with the files whenever it is read, and a
// lost or damaged index is rebuilt from the file names. Nothing is deleted automatically.
class RestorePointStore {
  public:
    explicit RestorePointStore(QString folder); // the "Restore points" folder itself
    // "<settings folder>/Restore points/".
    static QString FolderIn(const QString& settingsFolder);
    const QString& Folder() const { return folder_; }

    // Keeps image with meta (its fileName and time are set here; time defaults to now).
    // A point whose ".ign" bytes equal the newest one's is not added again; a programming
    // after change within kRestoreStretchMs of a newest point of the same kind and program
    // replaces it. False with the reason when nothing could be written (a full disk).
    bool Keep(const ParamImage& image, RestorePoint meta, QString* why = nullptr,
              QDateTime now = QDateTime());

    // Newest first.
    std::vector<RestorePoint> List() const;
    QString PathOf(const RestorePoint& point) const;
    // Reads the point's file into image as Open reads a file (image unchanged on failure).
    bool Load(const RestorePoint& point, ParamImage& image, QString* why = nullptr) const;
    bool Remove(const RestorePoint& point, QString* why = nullptr);
    // Writes the index anew from the files alone.
    bool RebuildIndex(QString* why = nullptr);

    // The file name a point is stored under, and the point parsed back from such a name.
    static QString FileNameOf(const RestorePoint& point);
    static bool ParseFileName(const QString& fileName, RestorePoint& point);
    static QString KindToken(RestoreKind kind, bool afterChange);

  private:
    std::vector<RestorePoint> ReadIndex(bool* complete) const;
    std::vector<RestorePoint> Reconciled(const std::vector<RestorePoint>& indexed) const;
    bool WriteIndex(const std::vector<RestorePoint>& points, QString* why) const;

    QString folder_;
};

} // namespace zyrk
