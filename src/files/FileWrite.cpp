#include "FileWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>

namespace zyrk {

namespace {

// The file that would be replaced, after following a symbolic link; nothing when the path may
// not be replaced at all.
std::optional<QFileInfo> Target(const QString& path) {
    QFileInfo target(path);
    if (target.isSymLink()) {
        const QString resolved = target.canonicalFilePath();
        // A dangling link would make a new file somewhere the user never named.
        if (resolved.isEmpty())
            return std::nullopt;
        target = QFileInfo(resolved);
    }
    if (target.exists()) {
        if (!target.isFile() || !target.isWritable())
            return std::nullopt;
    } else {
        const QFileInfo folder(target.absolutePath());
        if (!folder.isDir() || !folder.isWritable())
            return std::nullopt;
    }
    return target;
}

} // namespace

bool CanReplaceFile(const QString& path) {
    return Target(path).has_value();
}

bool ReplaceFile(const QString& path, const QByteArray& data) {
    const std::optional<QFileInfo> target = Target(path);
    if (!target)
        return false;
    const bool existed = target->exists();
    // Taken before the file is replaced. The "user" flags say what this process may do, and
    // Qt would set them as owner bits: only the owner, group and other bits are the file's.
    const QFileDevice::Permissions permissions =
        target->permissions() &
        ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
    QSaveFile file(target->absoluteFilePath());
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // QSaveFile::write only buffers, and commit() has been seen to put a short file in place
    // when its own flush fails; so the data is flushed and checked here, before the commit.
    // Leaving without commit() drops the temporary file.
    if (file.write(data) != data.size() || !file.flush() || file.error() != QFileDevice::NoError)
        return false;
    if (!file.commit())
        return false;
    // The temporary file was made with the default permissions; the replaced file keeps its own.
    if (existed)
        QFile::setPermissions(target->absoluteFilePath(), permissions);
    return true;
}

} // namespace zyrk
