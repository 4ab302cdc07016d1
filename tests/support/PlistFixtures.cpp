#include "support/PlistFixtures.h"

#include <QList>

namespace PlistFixtures {
namespace {
void appendBigEndian(QByteArray& out, quint64 value, int size) {
    for (int i = size - 1; i >= 0; --i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

QByteArray chainOfArrays(int count, bool cyclic) {
    QByteArray body("bplist00");
    QList<quint64> offsets;
    for (int i = 0; i < count; ++i) {
        offsets.append(quint64(body.size()));
        const bool last = i == count - 1;
        if (last && !cyclic) {
            body.append(char(0xA0));
            continue;
        }
        body.append(char(0xA1));
        appendBigEndian(body, last ? 0 : quint64(i + 1), 4);
    }
    const quint64 table = quint64(body.size());
    for (quint64 offset : offsets)
        appendBigEndian(body, offset, 4);
    body.append(QByteArray(6, '\0'));
    body.append(char(4));
    body.append(char(4));
    appendBigEndian(body, quint64(count), 8);
    appendBigEndian(body, 0, 8);
    appendBigEndian(body, table, 8);
    return body;
}
} // namespace

QByteArray deeplyNestedBinary(int depth) {
    return chainOfArrays(depth, false);
}
QByteArray cyclicBinary(int length) {
    return chainOfArrays(length, true);
}

QByteArray deeplyNestedXml(int depth) {
    QByteArray xml("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">");
    for (int i = 0; i < depth; ++i)
        xml.append("<array>");
    for (int i = 0; i < depth; ++i)
        xml.append("</array>");
    xml.append("</plist>\n");
    return xml;
}
} // namespace PlistFixtures
