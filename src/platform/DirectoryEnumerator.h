#pragma once

#include <QString>

// The immediate children of one folder, in the order the kernel gives them, as
// raw name bytes (never "." or ".."). A folder that cannot be opened, or a read
// error part-way, simply ends the enumeration.
class DirectoryEnumerator {
public:
    explicit DirectoryEnumerator(const QString& folder);
    ~DirectoryEnumerator();
    DirectoryEnumerator(const DirectoryEnumerator&) = delete;
    DirectoryEnumerator& operator=(const DirectoryEnumerator&) = delete;

    bool isOpen() const { return dir_ != nullptr; }
    // The next child's name, valid until the following call; null at the end.
    const char* next();

private:
    void* dir_ = nullptr;
};
