#pragma once

#include <QByteArray>
#include <QString>

namespace zyrk {

// Replaces the file at path with data, whole or not at all. Every file the tool writes goes
// through here: a parameter file, "default.ini" and each write of "application.ini".
//
// - The data goes to a temporary file beside the target, is flushed and checked, and only
//   then takes the target's place; a full disk, a file-size limit or any other error leaves
//   the previous file exactly as it was and no temporary file behind.
// - Only a regular file (or a path where nothing exists yet) is replaced. A device, a pipe, a
//   folder or anything else that is not a regular file is refused untouched, as is a file the
//   user may not write.
// - A symbolic link is followed: the file it points to is replaced and the link stays.
// - A replaced file keeps its permissions.
//
// False when nothing was written; why then says the reason in the system's words.
bool ReplaceFile(const QString& path, const QByteArray& data, QString* why = nullptr);

// Whether ReplaceFile may write there at all, asked before any work is done: the path is a
// regular file the user may write, or nothing yet in a folder the user may write.
bool CanReplaceFile(const QString& path, QString* why = nullptr);

} // namespace zyrk
