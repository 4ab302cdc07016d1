#include "platform/PropertyList.h"

#include <QDateTime>
#include <plist/plist.h>

namespace PropertyList {
namespace {

// Binary property lists nest through object references, which a bounded depth
// check of the bytes cannot see; libplist limits those itself. XML nesting is
// checked here so that junk cannot drive the parser's recursion arbitrarily deep.
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
        const char* close = static_cast<const char*>(memchr(p, '>', end - p));
        if (!close)
            return true;
        if (close[-1] != '/' && ++depth > maximumDepth + 2)
            return false;
        p = close;
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
    if (!binary && !xmlNestingWithinLimit(bytes))
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
