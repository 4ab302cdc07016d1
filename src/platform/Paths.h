#pragma once

#include <QString>

// The XDG folders the program keeps its files in.
namespace Paths {
QString configFolder(); // $XDG_CONFIG_HOME or ~/.config
QString dataFolder();   // $XDG_DATA_HOME or ~/.local/share
QString settingsFile(); // the defaults store
QString autostartFolder();
} // namespace Paths
