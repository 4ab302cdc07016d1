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
} // namespace

Factory factoryFor(const QString& className) {
    QMutexLocker lock(&registryMutex);
    return registry().value(className);
}

void registerClass(const QString& className, Factory factory) {
    QMutexLocker lock(&registryMutex);
    registry().insert(className, std::move(factory));
}

bool isRegistered(const QString& className) {
    QMutexLocker lock(&registryMutex);
    return registry().contains(className);
}
} // namespace ArchiveClasses

using BinaryPropertyList::Document;
using BinaryPropertyList::Ref;
using BinaryPropertyList::Type;
using BinaryPropertyList::Writer;

namespace {
const char* const classKey = "$class";
const char* const rootKey = "$root";
const char* const versionKey = "$archiveVersion";

QByteArray finishDocument(Writer& writer, Ref root, ArchiveFormat format) {
    const Ref version = writer.integer(KeyedArchiver::version);
    const Ref document =
        writer.dictionary({{writer.key(versionKey), version}, {writer.key(rootKey), root}});
    QByteArray binary = writer.finish(document);
    if (format == ArchiveFormat::Binary)
        return binary;
    PropertyList::Node node = PropertyList::parse(binary);
    return node ? PropertyList::toXml(node.get()) : QByteArray();
}
} // namespace

QByteArray KeyedArchiver::archivedData(const Archivable& root, ArchiveFormat format) {
    Writer writer;
    return finishDocument(writer, encodeNode(writer, root), format);
}

QByteArray KeyedArchiver::archivedData(const std::vector<ArchivablePtr>& rootArray,
                                       ArchiveFormat format) {
    Writer writer;
    std::vector<Ref> elements;
    elements.reserve(rootArray.size());
    for (const ArchivablePtr& object : rootArray)
        elements.push_back(encodeNode(writer, *object));
    return finishDocument(writer, writer.array(elements), format);
}

Ref KeyedArchiver::encodeNode(Writer& writer, const Archivable& object) {
    KeyedArchiver coder(writer);
    const QByteArray className = object.archiveClassName().toUtf8();
    coder.add(classKey, writer.key(className.constData()));
    object.encodeWithCoder(coder);
    return writer.dictionary(coder.entries_);
}

void KeyedArchiver::add(const char* key, Ref value) {
    entries_.emplace_back(writer_.key(key), value);
}

void KeyedArchiver::encodeString(const char* key, const QString& value) {
    add(key, writer_.string(value));
}

void KeyedArchiver::encodeInt64(const char* key, qint64 value) {
    add(key, writer_.integer(value));
}

void KeyedArchiver::encodeBool(const char* key, bool value) {
    add(key, writer_.boolean(value));
}

void KeyedArchiver::encodeDouble(const char* key, double value) {
    add(key, writer_.real(value));
}

void KeyedArchiver::encodeData(const char* key, const QByteArray& value) {
    add(key, writer_.data(value));
}

void KeyedArchiver::encodeDoubles(const char* key, const std::vector<double>& values) {
    std::vector<Ref> elements;
    for (double value : values)
        elements.push_back(writer_.real(value));
    add(key, writer_.array(elements));
}

void KeyedArchiver::encodeObject(const char* key, const Archivable& object) {
    add(key, encodeNode(writer_, object));
}

void KeyedArchiver::encodeObjects(const char* key, const std::vector<ArchivablePtr>& objects) {
    std::vector<Ref> elements;
    elements.reserve(objects.size());
    for (const ArchivablePtr& object : objects)
        elements.push_back(encodeNode(writer_, *object));
    add(key, writer_.array(elements));
}

// Our archives never share a container between two places, so a container met
// twice is junk: refusing it also bounds the work on cycles and on graphs built
// to fan out.
struct KeyedUnarchiver::Context {
    const Document& document;
    std::vector<bool> visited;

    void visit(Object object) {
        if (object.index >= visited.size() || visited[object.index])
            throw ArchiveDecodingError("an archived object appears twice");
        visited[object.index] = true;
    }
};

template <class Result>
Result KeyedUnarchiver::decodeDocument(const QByteArray& data,
                                       const std::function<Result(Context&, Object)>& decodeRoot) {
    QByteArray binary = data;
    if (!data.startsWith("bplist00")) {
        PropertyList::Node parsed = PropertyList::parse(data);
        if (!parsed)
            throw ArchiveDecodingError("the data is not a property list");
        binary = PropertyList::toBinary(parsed.get());
    }
    const std::optional<Document> document = Document::open(binary);
    if (!document)
        throw ArchiveDecodingError("the data is not a property list");
    Context context{*document, std::vector<bool>(document->objectCount(), false)};
    return decodeRoot(context, documentRoot(*document));
}

KeyedUnarchiver::Object KeyedUnarchiver::documentRoot(const Document& document) {
    const Object top = document.top();
    if (document.type(top) != Type::Dictionary)
        throw ArchiveDecodingError("the archive is not a dictionary");
    const std::optional<Object> version = document.value(top, versionKey);
    if (!version || document.type(*version) != Type::Integer)
        throw ArchiveDecodingError("the archive has no version");
    if (document.integer(*version) != KeyedArchiver::version)
        throw ArchiveDecodingError("the archive has an unknown version");
    const std::optional<Object> root = document.value(top, rootKey);
    if (!root)
        throw ArchiveDecodingError("the archive has no root object");
    return *root;
}

ArchivablePtr KeyedUnarchiver::unarchiveObject(const QByteArray& data) {
    return decodeDocument<ArchivablePtr>(
        data, [](Context& context, Object root) { return decodeNode(context, root, 0); });
}

std::vector<ArchivablePtr> KeyedUnarchiver::unarchiveArray(const QByteArray& data) {
    return decodeDocument<std::vector<ArchivablePtr>>(
        data, [](Context& context, Object root) { return decodeArrayNode(context, root, 0); });
}

ArchivablePtr KeyedUnarchiver::decodeNode(Context& context, Object node, int depth) {
    if (depth > maximumDepth)
        throw ArchiveDecodingError("the archive nests too deeply");
    const Document& document = context.document;
    if (document.type(node) != Type::Dictionary)
        throw ArchiveDecodingError("an archived object is not a dictionary");
    context.visit(node);
    const std::optional<Object> classNode = document.value(node, classKey);
    if (!classNode || document.type(*classNode) != Type::String)
        throw ArchiveDecodingError("an archived object has no class");
    const QString className = document.string(*classNode);
    ArchiveClasses::Factory factory = ArchiveClasses::factoryFor(className);
    if (!factory)
        throw ArchiveDecodingError("unknown class " + className.toStdString());
    ArchivablePtr object = factory(KeyedUnarchiver(context, node, depth));
    if (!object)
        throw ArchiveDecodingError("could not make an object of class " + className.toStdString());
    return object;
}

std::vector<ArchivablePtr> KeyedUnarchiver::decodeArrayNode(Context& context, Object node,
                                                            int depth) {
    const Document& document = context.document;
    if (document.type(node) != Type::Array)
        throw ArchiveDecodingError("expected an array");
    context.visit(node);
    const quint64 count = document.count(node);
    std::vector<ArchivablePtr> objects;
    objects.reserve(count);
    for (quint64 i = 0; i < count; ++i)
        objects.push_back(decodeNode(context, document.element(node, i), depth + 1));
    return objects;
}

std::optional<KeyedUnarchiver::Object> KeyedUnarchiver::valueOfType(const char* key,
                                                                    Type type) const {
    const std::optional<Object> value = context_.document.value(dictionary_, key);
    if (value && context_.document.type(*value) != type)
        throw ArchiveDecodingError("wrong type under " + std::string(key));
    return value;
}

bool KeyedUnarchiver::containsValueForKey(const char* key) const {
    return context_.document.value(dictionary_, key).has_value();
}

QString KeyedUnarchiver::decodeString(const char* key) const {
    const std::optional<Object> value = valueOfType(key, Type::String);
    return value ? context_.document.string(*value) : QString();
}

qint64 KeyedUnarchiver::decodeInt64(const char* key) const {
    const std::optional<Object> value = valueOfType(key, Type::Integer);
    return value ? context_.document.integer(*value) : 0;
}

bool KeyedUnarchiver::decodeBool(const char* key) const {
    const std::optional<Object> value = valueOfType(key, Type::Boolean);
    return value && context_.document.boolean(*value);
}

double KeyedUnarchiver::decodeDouble(const char* key) const {
    const std::optional<Object> value = context_.document.value(dictionary_, key);
    if (value && context_.document.type(*value) == Type::Integer)
        return double(context_.document.integer(*value));
    return value ? context_.document.real(*valueOfType(key, Type::Real)) : 0.0;
}

QByteArray KeyedUnarchiver::decodeData(const char* key) const {
    const std::optional<Object> value = valueOfType(key, Type::Data);
    return value ? context_.document.data(*value) : QByteArray();
}

std::vector<double> KeyedUnarchiver::decodeDoubles(const char* key) const {
    std::vector<double> values;
    const std::optional<Object> array = valueOfType(key, Type::Array);
    if (!array)
        return values;
    const Document& document = context_.document;
    const quint64 count = document.count(*array);
    for (quint64 i = 0; i < count; ++i) {
        const Object item = document.element(*array, i);
        if (document.type(item) != Type::Real)
            throw ArchiveDecodingError("expected numbers under " + std::string(key));
        values.push_back(document.real(item));
    }
    return values;
}

ArchivablePtr KeyedUnarchiver::decodeObject(const char* key) const {
    const std::optional<Object> value = valueOfType(key, Type::Dictionary);
    return value ? decodeNode(context_, *value, depth_ + 1) : nullptr;
}

std::vector<ArchivablePtr> KeyedUnarchiver::decodeObjects(const char* key) const {
    const std::optional<Object> value = valueOfType(key, Type::Array);
    return value ? decodeArrayNode(context_, *value, depth_ + 1) : std::vector<ArchivablePtr>();
}
