#pragma once

#include "platform/ResourceValues.h"

#include <QByteArray>
#include <QString>
#include <optional>

// A bookmark is our own record of a file: its path, its volume (the file system,
// wherever it is mounted, and the path inside it) and its identity (device and
// inode, and a kernel file handle where the file system gives one).
namespace Bookmark {

enum CreationOption : unsigned {
    WithSecurityScope = 0x800,
    SecurityScopeAllowOnlyReadAccess = 0x1000,
};
enum ResolutionOption : unsigned {
    WithoutUI = 0x100,
    ResolveWithSecurityScope = 0x400,
};

struct Resolution {
    QString path;
    bool isStale = false;  // the record no longer describes the file as it is found
    ResourceValues values; // of the file as it was found
};

// The record of the file at `path`, or empty data with `error` set.
QByteArray create(const QString& path, unsigned options, QString* error);

// Finds the file again: by its identity at the recorded path, by its file handle,
// by the recorded path inside its volume wherever that is mounted now, and by its
// identity among the entries of its recorded folder (a rename while we were away).
std::optional<Resolution> resolve(const QByteArray& data, unsigned options);

// The path written in the record, or empty for data that is not a record.
QString recordedPath(const QByteArray& data);

} // namespace Bookmark
