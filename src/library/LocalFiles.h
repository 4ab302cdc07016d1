#pragma once

#include <QString>
#include <optional>

// The folder that holds the program's own item files, one subfolder per item.
namespace LocalFiles {
QString folder();

// The item subfolder holding `path`, decided on canonical paths component by
// component: nothing unless the file lies directly in a subfolder directly inside
// the local files folder ("..", links that lead out and look-alike sibling
// folders are all refused).
std::optional<QString> itemFolderContaining(const QString& path);
} // namespace LocalFiles
