#include "platform/PropertyList.h"

#include <QDateTime>
#include <algorithm>
#include <cstring>
#include <plist/plist.h>
#include <vector>

namespace PropertyList {
namespace {

// libplist's parsers recurse once per level of nesting, so a document nested deep
// enough (or a binary one whose objects refer to each other in a cycle) would
// overflow the stack. Both forms are measured before they are parsed.
bool xmlNestingWithinLimit(const QByteArray& bytes) {
    int depth = 0;
    const char* p = bytes.constData();
    const char* end = p + bytes.size();
    for (; p < end; ++p) {
        if (*p != '<' || p + 1 >= end)
            continue;
        const char next = p[1];
        if (next == '/') {
            --depth;
            continue;
        }
        if (next == '?' || next == '!')
            continue;
        const char* close = static_cast<const char*>(memchr(p, '>', size_t(end - p)));
        if (!close)
            return true;
        if (close[-1] != '/' && ++depth > maximumDepth + 2)
            return false;
        p = close;
    }
    return true;
}

uint64_t readBigEndian(const unsigned char* p, int size) {
    uint64_t value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | p[i];
    return value;
}

// Walks the object graph of a binary property list and answers whether it is
// acyclic and at most `maximumDepth` containers deep. Faults of other kinds are
// left to the parser, which reports them.
bool binaryNestingWithinLimit(const QByteArray& bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const uint64_t size = uint64_t(bytes.size());
    if (size < 8 + 32)
        return true;
    const unsigned char* trailer = data + size - 32;
    const int offsetSize = trailer[6];
    const int refSize = trailer[7];
    const uint64_t objectCount = readBigEndian(trailer + 8, 8);
    const uint64_t top = readBigEndian(trailer + 16, 8);
    const uint64_t tableOffset = readBigEndian(trailer + 24, 8);
    if (offsetSize < 1 || offsetSize > 8 || refSize < 1 || refSize > 8 || top >= objectCount ||
        tableOffset >= size || objectCount > (size - tableOffset) / uint64_t(offsetSize))
        return true;

    auto offsetOf = [&](uint64_t object) {
        return readBigEndian(data + tableOffset + object * uint64_t(offsetSize), offsetSize);
    };
    // The references of a container object, or none for scalars and faulty objects.
    auto children = [&](uint64_t object, std::vector<uint64_t>& out) {
        out.clear();
        uint64_t at = offsetOf(object);
        if (at >= tableOffset)
            return;
        const unsigned char marker = data[at++];
        const int type = marker >> 4;
        if (type != 0xA && type != 0xC && type != 0xD)
            return;
        uint64_t count = marker & 0x0F;
        if (count == 0x0F) {
            if (at >= tableOffset || (data[at] >> 4) != 0x1)
                return;
            const int length = 1 << (data[at] & 0x0F);
            if (length > 8 || at + 1 + uint64_t(length) > tableOffset)
                return;
            count = readBigEndian(data + at + 1, length);
            at += 1 + uint64_t(length);
        }
        const uint64_t refs = type == 0xD ? count * 2 : count;
        if (refs > (tableOffset - at) / uint64_t(refSize))
            return;
        for (uint64_t i = 0; i < refs; ++i) {
            const uint64_t ref = readBigEndian(data + at + i * uint64_t(refSize), refSize);
            if (ref < objectCount)
                out.push_back(ref);
        }
    };

    // Depth-first, remembering each finished object's height so that shared
    // objects are measured once.
    enum : uint8_t { unseen, open, done };
    std::vector<uint8_t> state(objectCount, unseen);
    std::vector<int> height(objectCount, 0);
    struct Frame {
        uint64_t object;
        std::vector<uint64_t> children;
        size_t next = 0;
    };
    std::vector<Frame> stack;
    stack.push_back({top, {}});
    children(top, stack.back().children);
    state[top] = open;
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next < frame.children.size()) {
            const uint64_t child = frame.children[frame.next++];
            if (state[child] == open)
                return false;
            if (state[child] == unseen) {
                if (int(stack.size()) > maximumDepth)
                    return false;
                state[child] = open;
                stack.push_back({child, {}});
                children(child, stack.back().children);
            }
            continue;
        }
        int tallest = 0;
        for (uint64_t child : frame.children)
            tallest = std::max(tallest, height[child]);
        height[frame.object] = tallest + 1;
        state[frame.object] = done;
        if (height[frame.object] > maximumDepth)
            return false;
        stack.pop_back();
    }
    return true;
}

} // namespace

void NodeDeleter::operator()(void* node) const {
    if (node)
        plist_free(node);
}

Node parse(const QByteArray& bytes) {
    if (bytes.isEmpty() || bytes.size() > std::numeric_limits<uint32_t>::max())
        return Node();
    const bool binary = plist_is_binary(bytes.constData(), uint32_t(bytes.size()));
    if (binary ? !binaryNestingWithinLimit(bytes) : !xmlNestingWithinLimit(bytes))
        return Node();
    plist_t root = nullptr;
    plist_from_memory(bytes.constData(), uint32_t(bytes.size()), &root);
    return Node(root);
}

QByteArray toXml(plist_t root) {
    char* text = nullptr;
    uint32_t length = 0;
    plist_to_xml(root, &text, &length);
    QByteArray result(text, qsizetype(length));
    plist_to_xml_free(text);
    return result;
}

QByteArray toBinary(plist_t root) {
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &bytes, &length);
    QByteArray result(bytes, qsizetype(length));
    plist_to_bin_free(bytes);
    return result;
}

QVariant toValue(plist_t node) {
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return bool(value);
    }
    case PLIST_UINT: {
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return qint64(value);
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return value;
    }
    case PLIST_STRING: {
        uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return QString::fromUtf8(text, qsizetype(length));
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        return QByteArray(bytes, qsizetype(length));
    }
    case PLIST_DATE: {
        int32_t seconds = 0, micro = 0;
        plist_get_date_val(node, &seconds, &micro);
        // Property-list dates count from 2001-01-01.
        return QDateTime::fromSecsSinceEpoch(978307200LL + seconds, Qt::UTC).addMSecs(micro / 1000);
    }
    case PLIST_ARRAY: {
        QVariantList list;
        const uint32_t count = plist_array_get_size(node);
        list.reserve(count);
        for (uint32_t i = 0; i < count; ++i)
            list.append(toValue(plist_array_get_item(node, i)));
        return list;
    }
    case PLIST_DICT: {
        QVariantMap map;
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        for (;;) {
            char* key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(node, it, &key, &value);
            if (!key)
                break;
            map.insert(QString::fromUtf8(key), toValue(value));
            free(key);
        }
        free(it);
        return map;
    }
    default:
        return QVariant();
    }
}

std::optional<QVariant> parseValue(const QByteArray& bytes) {
    Node root = parse(bytes);
    if (!root)
        return std::nullopt;
    return toValue(root.get());
}

Node fromValue(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Bool:
        return Node(plist_new_bool(value.toBool()));
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return Node(plist_new_uint(uint64_t(value.toLongLong())));
    case QMetaType::Double:
        return Node(plist_new_real(value.toDouble()));
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return Node(plist_new_data(bytes.constData(), uint64_t(bytes.size())));
    }
    case QMetaType::QVariantList: {
        Node array(plist_new_array());
        for (const QVariant& item : value.toList())
            plist_array_append_item(array.get(), fromValue(item).release());
        return array;
    }
    case QMetaType::QVariantMap: {
        Node dict(plist_new_dict());
        const QVariantMap map = value.toMap();
        for (auto it = map.begin(); it != map.end(); ++it)
            plist_dict_set_item(dict.get(), it.key().toUtf8().constData(),
                                fromValue(it.value()).release());
        return dict;
    }
    default:
        return Node(plist_new_string(value.toString().toUtf8().constData()));
    }
}

} // namespace PropertyList
