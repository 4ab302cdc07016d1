#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "platform/BinaryPropertyList.h"

class KeyedArchiver;
class KeyedUnarchiver;

// An object that can be written into a keyed archive and made again from it.
class Archivable {
public:
    virtual ~Archivable() = default;
    virtual QString archiveClassName() const = 0;
    virtual void encodeWithCoder(KeyedArchiver& coder) const = 0;
};
using ArchivablePtr = std::shared_ptr<Archivable>;

// Raised while decoding a document that is not a valid archive of known classes.
class ArchiveDecodingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Which class names an archive may contain and how each is made from its dictionary.
namespace ArchiveClasses {
using Factory = std::function<ArchivablePtr(const KeyedUnarchiver&)>;
void registerClass(const QString& className, Factory factory);
bool isRegistered(const QString& className);
Factory factoryFor(const QString& className);
} // namespace ArchiveClasses

enum class ArchiveFormat { Binary, Xml };

// Every object becomes a dictionary with its class name under "$class"; the
// document's root dictionary holds "$archiveVersion" and the root under "$root".
class KeyedArchiver {
public:
    static QByteArray archivedData(const Archivable& root, ArchiveFormat format);
    static QByteArray archivedData(const std::vector<ArchivablePtr>& rootArray,
                                   ArchiveFormat format);

    void encodeString(const char* key, const QString& value);
    void encodeInt64(const char* key, qint64 value);
    void encodeBool(const char* key, bool value);
    void encodeDouble(const char* key, double value);
    void encodeData(const char* key, const QByteArray& value);
    void encodeDoubles(const char* key, const std::vector<double>& values);
    void encodeObject(const char* key, const Archivable& object);
    void encodeObjects(const char* key, const std::vector<ArchivablePtr>& objects);

    static constexpr int version = 1;

private:
    explicit KeyedArchiver(BinaryPropertyList::Writer& writer) : writer_(writer) {}
    static BinaryPropertyList::Ref encodeNode(BinaryPropertyList::Writer& writer,
                                              const Archivable& object);
    void add(const char* key, BinaryPropertyList::Ref value);

    BinaryPropertyList::Writer& writer_;
    std::vector<std::pair<BinaryPropertyList::Ref, BinaryPropertyList::Ref>> entries_;
};

// Reads an archive in either property-list form. Every fault (not a property
// list, wrong version, unknown class, a key of the wrong type, nesting too deep,
// an object used twice) raises ArchiveDecodingError.
class KeyedUnarchiver {
public:
    static ArchivablePtr unarchiveObject(const QByteArray& data);
    static std::vector<ArchivablePtr> unarchiveArray(const QByteArray& data);

    bool containsValueForKey(const char* key) const;
    // A missing key reads as empty, 0, NO; a present key of another type is an error.
    QString decodeString(const char* key) const;
    qint64 decodeInt64(const char* key) const;
    bool decodeBool(const char* key) const;
    double decodeDouble(const char* key) const;
    QByteArray decodeData(const char* key) const;
    std::vector<double> decodeDoubles(const char* key) const;
    ArchivablePtr decodeObject(const char* key) const;
    std::vector<ArchivablePtr> decodeObjects(const char* key) const;

    template <class T> std::shared_ptr<T> decodeObjectOfClass(const char* key) const {
        ArchivablePtr object = decodeObject(key);
        if (!object)
            return nullptr;
        auto typed = std::dynamic_pointer_cast<T>(object);
        if (!typed)
            throw ArchiveDecodingError("unexpected class under " + std::string(key));
        return typed;
    }
    template <class T> std::vector<std::shared_ptr<T>> decodeObjectsOfClass(const char* key) const {
        return castAll<T>(decodeObjects(key));
    }
    template <class T>
    static std::vector<std::shared_ptr<T>> castAll(const std::vector<ArchivablePtr>& objects) {
        std::vector<std::shared_ptr<T>> typed;
        typed.reserve(objects.size());
        for (const ArchivablePtr& object : objects) {
            auto cast = std::dynamic_pointer_cast<T>(object);
            if (!cast)
                throw ArchiveDecodingError("unexpected class in an array");
            typed.push_back(std::move(cast));
        }
        return typed;
    }

    static constexpr int maximumDepth = 16;

private:
    using Document = BinaryPropertyList::Document;
    using Object = Document::Object;
    struct Context;

    KeyedUnarchiver(Context& context, Object dictionary, int depth)
        : context_(context), dictionary_(dictionary), depth_(depth) {}
    static Object documentRoot(const Document& document);
    static ArchivablePtr decodeNode(Context& context, Object node, int depth);
    static std::vector<ArchivablePtr> decodeArrayNode(Context& context, Object node, int depth);
    template <class Result>
    static Result decodeDocument(const QByteArray& data,
                                 const std::function<Result(Context&, Object)>& decodeRoot);
    std::optional<Object> valueOfType(const char* key, BinaryPropertyList::Type type) const;

    Context& context_;
    Object dictionary_;
    int depth_;
};
