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
std::optional<QFileInfo> Target(const QString& path, QString* why) {
    auto refuse = [why](const char* reason) -> std::optional<QFileInfo> {
        if (why)
            *why = QString::fromLatin1(reason);
        return std::nullopt;
    };
    QFileInfo target(path);
    if (target.isSymLink()) {
        const QString resolved = target.canonicalFilePath();
        // A dangling link would make a new file somewhere the user never named.
        if (resolved.isEmpty())
            return refuse("Link to nothing");
        target = QFileInfo(resolved);
    }
    if (target.exists()) {
        if (!target.isFile())
            return refuse("Not a regular file");
        if (!target.isWritable())
            return refuse("Permission denied");
    } else {
        const QFileInfo folder(target.absolutePath());
        if (!folder.isDir())
            return refuse("No such directory");
        if (!folder.isWritable())
            return refuse("Permission denied");
    }
    return target;
}

} // namespace

bool CanReplaceFile(const QString& path, QString* why) {
    return Target(path, why).has_value();
}

bool ReplaceFile(const QString& path, const QByteArray& data, QString* why) {
    const std::optional<QFileInfo> target = Target(path, why);
    if (!target)
        return false;
    const bool existed = target->exists();
    // Taken before the file is replaced. The "user" flags say what this process may do, and
    // Qt would set them as owner bits: only the owner, group and other bits are the file's.
    const QFileDevice::Permissions permissions =
        target->permissions() &
        ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
    QSaveFile file(target->absoluteFilePath());
    auto fail = [&file, why] {
        if (why)
            *why = file.errorString();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail();
    // QSaveFile::write only buffers, and commit() has been seen to put a short file in place
    // when its own flush fails; so the data is flushed and checked here, before the commit.
    // Leaving without commit() drops the temporary file.
    if (file.write(data) != data.size() || !file.flush() || file.error() != QFileDevice::NoError)
        return fail();
    if (!file.commit())
        return fail();
    // The temporary file was made with the default permissions; the replaced file keeps its own.
    if (existed)
        QFile::setPermissions(target->absoluteFilePath(), permissions);
    return true;
}

} // namespace zyrk
