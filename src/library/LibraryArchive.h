#pragma once

// Makes the classes of the shortcut library known to the keyed archive.
void registerLibraryArchiveClasses();
