#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

// The binary property-list form ("bplist00") written and read in place, for the
// keyed archive of the whole library: the writer appends each object once it is
// complete, and the reader looks values up in the bytes without building a tree.
namespace BinaryPropertyList {

using Ref = quint32;

class Writer {
public:
    Writer();
    Ref string(const QString& value);
    // An ASCII string written once however often it is used (keys, class names).
    Ref key(const char* ascii);
    Ref integer(qint64 value);
    Ref boolean(bool value);
    Ref real(double value);
    Ref data(const QByteArray& value);
    Ref array(const std::vector<Ref>& elements);
    Ref dictionary(const std::vector<std::pair<Ref, Ref>>& entries);
    QByteArray finish(Ref top);

private:
    Ref begin();
    void appendMarker(int type, quint64 count);
    void appendRefs(const Ref* refs, size_t count);

    QByteArray bytes_;
    std::vector<quint64> offsets_;
    QHash<QByteArray, Ref> keys_;
};

enum class Type { Invalid, Boolean, Integer, Real, Data, String, Array, Dictionary, Other };

// A view of a document; the bytes must outlive it. Every read is bounds-checked:
// an object that does not fit its document reads as Invalid.
class Document {
public:
    struct Object {
        quint64 index = 0;
    };

    static std::optional<Document> open(const QByteArray& bytes);

    Object top() const { return Object{top_}; }
    quint64 objectCount() const { return objectCount_; }
    Type type(Object object) const;
    bool boolean(Object object) const;
    qint64 integer(Object object) const;
    double real(Object object) const;
    QByteArray data(Object object) const;
    QString string(Object object) const;
    // For arrays and dictionaries.
    quint64 count(Object object) const;
    Object element(Object array, quint64 i) const;
    std::optional<Object> value(Object dictionary, const char* asciiKey) const;

private:
    struct Header {
        Type type = Type::Invalid;
        quint64 count = 0;
        quint64 payload = 0; // offset of what follows the marker and count
        bool utf16 = false;  // a string in UTF-16 rather than ASCII
    };
    Header header(Object object) const;
    quint64 ref(quint64 at) const;

    const unsigned char* data_ = nullptr;
    quint64 size_ = 0;
    int offsetSize_ = 0;
    int refSize_ = 0;
    quint64 objectCount_ = 0;
    quint64 top_ = 0;
    quint64 tableOffset_ = 0;
};

} // namespace BinaryPropertyList
