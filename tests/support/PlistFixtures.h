#pragma once

#include <QByteArray>

// Hand-made property lists that no well-behaved writer produces.
namespace PlistFixtures {
// A binary property list of `depth` arrays, each holding the next.
QByteArray deeplyNestedBinary(int depth);
// The same, with the innermost array referring back to the outermost.
QByteArray cyclicBinary(int length);
QByteArray deeplyNestedXml(int depth);
} // namespace PlistFixtures
