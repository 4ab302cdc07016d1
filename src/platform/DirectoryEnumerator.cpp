#include "platform/DirectoryEnumerator.h"

#include "platform/ResourceValues.h"

#include <dirent.h>

DirectoryEnumerator::DirectoryEnumerator(const QString& folder)
    : dir_(::opendir(FileNames::encode(folder).constData())) {}

DirectoryEnumerator::~DirectoryEnumerator() {
    if (dir_)
        ::closedir(static_cast<DIR*>(dir_));
}

const char* DirectoryEnumerator::next() {
    if (!dir_)
        return nullptr;
    while (const dirent* entry = ::readdir(static_cast<DIR*>(dir_))) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        return name;
    }
    return nullptr;
}
