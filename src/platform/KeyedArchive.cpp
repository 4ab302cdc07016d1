#include "platform/KeyedArchive.h"

#include "platform/PropertyList.h"

#include <QHash>
#include <QMutex>
#include <plist/plist.h>

namespace ArchiveClasses {
namespace {
QMutex registryMutex;
QHash<QString, Factory>& registry() {
    static QHash<QString, Factory> classes;
    return classes;
}
Factory factoryFor(const QString& className) {
    QMutexLocker lock(&registryMutex);
    return registry().value(className);
}
} // namespace

void registerClass(const QString& className, Factory factory) {
    QMutexLocker lock(&registryMutex);
    registry().insert(className, std::move(factory));
}

bool isRegistered(const QString& className) {
    QMutexLocker lock(&registryMutex);
    return registry().contains(className);
}
} // namespace ArchiveClasses

namespace {
const char* const classKey = "$class";
const char* const rootKey = "$root";
const char* const versionKey = "$archiveVersion";

QByteArray serialise(plist_t document, ArchiveFormat format) {
    QByteArray bytes = format == ArchiveFormat::Binary ? PropertyList::toBinary(document)
                                                       : PropertyList::toXml(document);
    plist_free(document);
    return bytes;
}

plist_t newDocument(plist_t root) {
    plist_t document = plist_new_dict();
    plist_dict_set_item(document, versionKey, plist_new_uint(KeyedArchiver::version));
    plist_dict_set_item(document, rootKey, root);
    return document;
}
} // namespace

QByteArray KeyedArchiver::archivedData(const Archivable& root, ArchiveFormat format) {
    return serialise(newDocument(encodeNode(root)), format);
}

QByteArray KeyedArchiver::archivedData(const std::vector<ArchivablePtr>& rootArray,
                                       ArchiveFormat format) {
    plist_t array = plist_new_array();
    for (const ArchivablePtr& object : rootArray)
        plist_array_append_item(array, encodeNode(*object));
    return serialise(newDocument(array), format);
}

plist_t KeyedArchiver::encodeNode(const Archivable& object) {
    plist_t dictionary = plist_new_dict();
    plist_dict_set_item(dictionary, classKey,
                        plist_new_string(object.archiveClassName().toUtf8().constData()));
    KeyedArchiver coder(dictionary);
    object.encodeWithCoder(coder);
    return dictionary;
}

void KeyedArchiver::encodeString(const char* key, const QString& value) {
    plist_dict_set_item(dictionary_, key, plist_new_string(value.toUtf8().constData()));
}

void KeyedArchiver::encodeInt64(const char* key, qint64 value) {
    plist_dict_set_item(dictionary_, key, plist_new_uint(uint64_t(value)));
}

void KeyedArchiver::encodeBool(const char* key, bool value) {
    plist_dict_set_item(dictionary_, key, plist_new_bool(value));
}

void KeyedArchiver::encodeDouble(const char* key, double value) {
    plist_dict_set_item(dictionary_, key, plist_new_real(value));
}

void KeyedArchiver::encodeData(const char* key, const QByteArray& value) {
    plist_dict_set_item(dictionary_, key,
                        plist_new_data(value.constData(), uint64_t(value.size())));
}

void KeyedArchiver::encodeDoubles(const char* key, const std::vector<double>& values) {
    plist_t array = plist_new_array();
    for (double value : values)
        plist_array_append_item(array, plist_new_real(value));
    plist_dict_set_item(dictionary_, key, array);
}

void KeyedArchiver::encodeObject(const char* key, const Archivable& object) {
    plist_dict_set_item(dictionary_, key, encodeNode(object));
}

void KeyedArchiver::encodeObjects(const char* key, const std::vector<ArchivablePtr>& objects) {
    plist_t array = plist_new_array();
    for (const ArchivablePtr& object : objects)
        plist_array_append_item(array, encodeNode(*object));
    plist_dict_set_item(dictionary_, key, array);
}

plist_t KeyedUnarchiver::documentRoot(plist_t document) {
    if (!document || plist_get_node_type(document) != PLIST_DICT)
        throw ArchiveDecodingError("the archive is not a dictionary");
    plist_t version = plist_dict_get_item(document, versionKey);
    if (!version || plist_get_node_type(version) != PLIST_UINT)
        throw ArchiveDecodingError("the archive has no version");
    uint64_t number = 0;
    plist_get_uint_val(version, &number);
    if (number != uint64_t(KeyedArchiver::version))
        throw ArchiveDecodingError("the archive has an unknown version");
    plist_t root = plist_dict_get_item(document, rootKey);
    if (!root)
        throw ArchiveDecodingError("the archive has no root object");
    return root;
}

ArchivablePtr KeyedUnarchiver::unarchiveObject(const QByteArray& data) {
    PropertyList::Node document = PropertyList::parse(data);
    if (!document)
        throw ArchiveDecodingError("the data is not a property list");
    return decodeNode(documentRoot(document.get()), 0);
}

std::vector<ArchivablePtr> KeyedUnarchiver::unarchiveArray(const QByteArray& data) {
    PropertyList::Node document = PropertyList::parse(data);
    if (!document)
        throw ArchiveDecodingError("the data is not a property list");
    return decodeArrayNode(documentRoot(document.get()), 0);
}

ArchivablePtr KeyedUnarchiver::decodeNode(plist_t node, int depth) {
    if (depth > maximumDepth)
        throw ArchiveDecodingError("the archive nests too deeply");
    if (plist_get_node_type(node) != PLIST_DICT)
        throw ArchiveDecodingError("an archived object is not a dictionary");
    plist_t classNode = plist_dict_get_item(node, classKey);
    if (!classNode || plist_get_node_type(classNode) != PLIST_STRING)
        throw ArchiveDecodingError("an archived object has no class");
    uint64_t length = 0;
    const char* name = plist_get_string_ptr(classNode, &length);
    const QString className = QString::fromUtf8(name, qsizetype(length));
    ArchiveClasses::Factory factory = ArchiveClasses::factoryFor(className);
    if (!factory)
        throw ArchiveDecodingError("unknown class " + className.toStdString());
    ArchivablePtr object = factory(KeyedUnarchiver(node, depth));
    if (!object)
        throw ArchiveDecodingError("could not make an object of class " + className.toStdString());
    return object;
}

std::vector<ArchivablePtr> KeyedUnarchiver::decodeArrayNode(plist_t node, int depth) {
    if (plist_get_node_type(node) != PLIST_ARRAY)
        throw ArchiveDecodingError("expected an array");
    std::vector<ArchivablePtr> objects;
    objects.reserve(plist_array_get_size(node));
    // Arrays are linked lists: walk them instead of indexing.
    plist_array_iter it = nullptr;
    plist_array_new_iter(node, &it);
    for (;;) {
        plist_t item = nullptr;
        plist_array_next_item(node, it, &item);
        if (!item)
            break;
        objects.push_back(decodeNode(item, depth + 1));
    }
    free(it);
    return objects;
}

plist_t KeyedUnarchiver::valueOfType(const char* key, int type) const {
    plist_t value = plist_dict_get_item(dictionary_, key);
    if (!value)
        return nullptr;
    if (plist_get_node_type(value) != plist_type(type))
        throw ArchiveDecodingError("wrong type under " + std::string(key));
    return value;
}

bool KeyedUnarchiver::containsValueForKey(const char* key) const {
    return plist_dict_get_item(dictionary_, key) != nullptr;
}

QString KeyedUnarchiver::decodeString(const char* key) const {
    plist_t value = valueOfType(key, PLIST_STRING);
    if (!value)
        return QString();
    uint64_t length = 0;
    const char* text = plist_get_string_ptr(value, &length);
    return QString::fromUtf8(text, qsizetype(length));
}

qint64 KeyedUnarchiver::decodeInt64(const char* key) const {
    plist_t value = valueOfType(key, PLIST_UINT);
    uint64_t number = 0;
    if (value)
        plist_get_uint_val(value, &number);
    return qint64(number);
}

bool KeyedUnarchiver::decodeBool(const char* key) const {
    plist_t value = valueOfType(key, PLIST_BOOLEAN);
    uint8_t flag = 0;
    if (value)
        plist_get_bool_val(value, &flag);
    return flag != 0;
}

double KeyedUnarchiver::decodeDouble(const char* key) const {
    plist_t value = plist_dict_get_item(dictionary_, key);
    if (!value)
        return 0;
    if (plist_get_node_type(value) == PLIST_UINT) {
        uint64_t number = 0;
        plist_get_uint_val(value, &number);
        return double(qint64(number));
    }
    value = valueOfType(key, PLIST_REAL);
    double number = 0;
    plist_get_real_val(value, &number);
    return number;
}

QByteArray KeyedUnarchiver::decodeData(const char* key) const {
    plist_t value = valueOfType(key, PLIST_DATA);
    if (!value)
        return QByteArray();
    uint64_t length = 0;
    const char* bytes = plist_get_data_ptr(value, &length);
    return QByteArray(bytes, qsizetype(length));
}

std::vector<double> KeyedUnarchiver::decodeDoubles(const char* key) const {
    plist_t array = valueOfType(key, PLIST_ARRAY);
    std::vector<double> values;
    if (!array)
        return values;
    const uint32_t count = plist_array_get_size(array);
    for (uint32_t i = 0; i < count; ++i) {
        plist_t item = plist_array_get_item(array, i); // a colour has a handful
        if (plist_get_node_type(item) != PLIST_REAL)
            throw ArchiveDecodingError("expected numbers under " + std::string(key));
        double number = 0;
        plist_get_real_val(item, &number);
        values.push_back(number);
    }
    return values;
}

ArchivablePtr KeyedUnarchiver::decodeObject(const char* key) const {
    plist_t value = valueOfType(key, PLIST_DICT);
    return value ? decodeNode(value, depth_ + 1) : nullptr;
}

std::vector<ArchivablePtr> KeyedUnarchiver::decodeObjects(const char* key) const {
    plist_t value = valueOfType(key, PLIST_ARRAY);
    return value ? decodeArrayNode(value, depth_ + 1) : std::vector<ArchivablePtr>();
}
