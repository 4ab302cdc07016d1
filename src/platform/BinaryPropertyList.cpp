#include "platform/BinaryPropertyList.h"

#include <cstring>

namespace BinaryPropertyList {
namespace {

constexpr char magic[] = "bplist00";
constexpr quint64 magicSize = 8;
constexpr quint64 trailerSize = 32;

void appendBigEndian(QByteArray& out, quint64 value, int size) {
    for (int i = size - 1; i >= 0; --i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

quint64 readBigEndian(const unsigned char* p, int size) {
    quint64 value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | p[i];
    return value;
}

int bytesFor(quint64 value) {
    if (value <= 0xFF)
        return 1;
    if (value <= 0xFFFF)
        return 2;
    if (value <= 0xFFFFFFFF)
        return 4;
    return 8;
}

bool isAscii(const QString& text) {
    for (QChar c : text) {
        if (c.unicode() > 0x7F)
            return false;
    }
    return true;
}

} // namespace

Writer::Writer() {
    bytes_.append(magic, magicSize);
}

Ref Writer::begin() {
    offsets_.push_back(quint64(bytes_.size()));
    return Ref(offsets_.size() - 1);
}

void Writer::appendMarker(int type, quint64 count) {
    if (count < 15) {
        bytes_.append(char((type << 4) | int(count)));
        return;
    }
    bytes_.append(char((type << 4) | 0x0F));
    const int size = bytesFor(count);
    bytes_.append(char(0x10 | (size == 1 ? 0 : size == 2 ? 1 : size == 4 ? 2 : 3)));
    appendBigEndian(bytes_, count, size);
}

void Writer::appendRefs(const Ref* refs, size_t count) {
    for (size_t i = 0; i < count; ++i)
        appendBigEndian(bytes_, refs[i], sizeof(Ref));
}

Ref Writer::string(const QString& value) {
    const Ref ref = begin();
    if (isAscii(value)) {
        appendMarker(0x5, quint64(value.size()));
        bytes_.append(value.toLatin1());
        return ref;
    }
    appendMarker(0x6, quint64(value.size()));
    for (QChar c : value)
        appendBigEndian(bytes_, c.unicode(), 2);
    return ref;
}

Ref Writer::key(const char* ascii) {
    const QByteArray text = QByteArray::fromRawData(ascii, qsizetype(strlen(ascii)));
    auto it = keys_.constFind(text);
    if (it != keys_.constEnd())
        return it.value();
    const Ref ref = begin();
    appendMarker(0x5, quint64(text.size()));
    bytes_.append(text);
    keys_.insert(QByteArray(ascii), ref);
    return ref;
}

Ref Writer::integer(qint64 value) {
    const Ref ref = begin();
    // One, two and four byte integers are unsigned; eight byte ones are signed.
    const int size = value < 0 ? 8 : bytesFor(quint64(value));
    bytes_.append(char(0x10 | (size == 1 ? 0 : size == 2 ? 1 : size == 4 ? 2 : 3)));
    appendBigEndian(bytes_, quint64(value), size);
    return ref;
}

Ref Writer::boolean(bool value) {
    const Ref ref = begin();
    bytes_.append(char(value ? 0x09 : 0x08));
    return ref;
}

Ref Writer::real(double value) {
    const Ref ref = begin();
    bytes_.append(char(0x23));
    quint64 bits = 0;
    memcpy(&bits, &value, sizeof(bits));
    appendBigEndian(bytes_, bits, 8);
    return ref;
}

Ref Writer::data(const QByteArray& value) {
    const Ref ref = begin();
    appendMarker(0x4, quint64(value.size()));
    bytes_.append(value);
    return ref;
}

Ref Writer::array(const std::vector<Ref>& elements) {
    const Ref ref = begin();
    appendMarker(0xA, elements.size());
    appendRefs(elements.data(), elements.size());
    return ref;
}

Ref Writer::dictionary(const std::vector<std::pair<Ref, Ref>>& entries) {
    const Ref ref = begin();
    appendMarker(0xD, entries.size());
    for (const auto& entry : entries)
        appendBigEndian(bytes_, entry.first, sizeof(Ref));
    for (const auto& entry : entries)
        appendBigEndian(bytes_, entry.second, sizeof(Ref));
    return ref;
}

QByteArray Writer::finish(Ref top) {
    const quint64 tableOffset = quint64(bytes_.size());
    const int offsetSize = bytesFor(tableOffset);
    for (quint64 offset : offsets_)
        appendBigEndian(bytes_, offset, offsetSize);
    bytes_.append(QByteArray(6, '\0'));
    bytes_.append(char(offsetSize));
    bytes_.append(char(sizeof(Ref)));
    appendBigEndian(bytes_, offsets_.size(), 8);
    appendBigEndian(bytes_, top, 8);
    appendBigEndian(bytes_, tableOffset, 8);
    return std::move(bytes_);
}

std::optional<Document> Document::open(const QByteArray& bytes) {
    const quint64 size = quint64(bytes.size());
    if (size < magicSize + trailerSize || memcmp(bytes.constData(), magic, magicSize) != 0)
        return std::nullopt;
    Document document;
    document.data_ = reinterpret_cast<const unsigned char*>(bytes.constData());
    document.size_ = size;
    const unsigned char* trailer = document.data_ + size - trailerSize;
    document.offsetSize_ = trailer[6];
    document.refSize_ = trailer[7];
    document.objectCount_ = readBigEndian(trailer + 8, 8);
    document.top_ = readBigEndian(trailer + 16, 8);
    document.tableOffset_ = readBigEndian(trailer + 24, 8);
    const quint64 tableEnd = size - trailerSize;
    if (document.offsetSize_ < 1 || document.offsetSize_ > 8 || document.refSize_ < 1 ||
        document.refSize_ > 8 || document.tableOffset_ < magicSize ||
        document.tableOffset_ > tableEnd ||
        document.objectCount_ >
            (tableEnd - document.tableOffset_) / quint64(document.offsetSize_) ||
        document.top_ >= document.objectCount_)
        return std::nullopt;
    return document;
}

quint64 Document::ref(quint64 at) const {
    return readBigEndian(data_ + at, refSize_);
}

Document::Header Document::header(Object object) const {
    Header result;
    if (object.index >= objectCount_)
        return result;
    const quint64 offset =
        readBigEndian(data_ + tableOffset_ + object.index * quint64(offsetSize_), offsetSize_);
    // Objects lie between the magic and the offset table.
    const quint64 end = tableOffset_;
    if (offset < magicSize || offset >= end)
        return result;
    const unsigned char marker = data_[offset];
    const int kind = marker >> 4;
    const int low = marker & 0x0F;
    quint64 at = offset + 1;
    auto fits = [&](quint64 bytes) { return bytes <= end - at; };

    if (kind == 0x0) {
        result.type = (low == 0x8 || low == 0x9) ? Type::Boolean : Type::Other;
        result.count = low;
        return result;
    }
    if (kind == 0x1 || kind == 0x2) {
        const quint64 bytes = quint64(1) << low;
        if (low > 3 || !fits(bytes) || (kind == 0x2 && low < 2))
            return result;
        result.type = kind == 0x1 ? Type::Integer : Type::Real;
        result.count = bytes;
        result.payload = at;
        return result;
    }
    quint64 count = quint64(low);
    if (low == 0x0F) {
        if (!fits(1) || (data_[at] >> 4) != 0x1 || (data_[at] & 0x0F) > 3)
            return result;
        const int bytes = 1 << (data_[at] & 0x0F);
        ++at;
        if (!fits(quint64(bytes)))
            return result;
        count = readBigEndian(data_ + at, bytes);
        at += quint64(bytes);
    }
    quint64 payloadBytes = 0;
    switch (kind) {
    case 0x4:
        result.type = Type::Data;
        payloadBytes = count;
        break;
    case 0x5:
        result.type = Type::String;
        payloadBytes = count;
        break;
    case 0x6:
        result.type = Type::String;
        if (count > (end - at) / 2)
            return Header{};
        payloadBytes = count * 2;
        break;
    case 0xA:
        result.type = Type::Array;
        if (count > (end - at) / quint64(refSize_))
            return Header{};
        payloadBytes = count * quint64(refSize_);
        break;
    case 0xD:
        result.type = Type::Dictionary;
        if (count > (end - at) / quint64(refSize_) / 2)
            return Header{};
        payloadBytes = count * 2 * quint64(refSize_);
        break;
    default:
        result.type = Type::Other;
        return result;
    }
    if (!fits(payloadBytes))
        return Header{};
    result.count = count;
    result.payload = at;
    result.utf16 = kind == 0x6;
    return result;
}

Type Document::type(Object object) const {
    return header(object).type;
}

bool Document::boolean(Object object) const {
    return header(object).count == 0x9;
}

qint64 Document::integer(Object object) const {
    const Header h = header(object);
    if (h.type != Type::Integer)
        return 0;
    return qint64(readBigEndian(data_ + h.payload, int(h.count)));
}

double Document::real(Object object) const {
    const Header h = header(object);
    if (h.type != Type::Real)
        return 0;
    const quint64 bits = readBigEndian(data_ + h.payload, int(h.count));
    if (h.count == 4) {
        const quint32 narrow = quint32(bits);
        float value = 0;
        memcpy(&value, &narrow, sizeof(value));
        return value;
    }
    double value = 0;
    memcpy(&value, &bits, sizeof(value));
    return value;
}

QByteArray Document::data(Object object) const {
    const Header h = header(object);
    if (h.type != Type::Data)
        return QByteArray();
    return QByteArray(reinterpret_cast<const char*>(data_ + h.payload), qsizetype(h.count));
}

QString Document::string(Object object) const {
    const Header h = header(object);
    if (h.type != Type::String)
        return QString();
    const quint64 count = h.count;
    if (!h.utf16)
        return QString::fromLatin1(reinterpret_cast<const char*>(data_ + h.payload),
                                   qsizetype(count));
    QString text(qsizetype(count), Qt::Uninitialized);
    for (quint64 i = 0; i < count; ++i)
        text[qsizetype(i)] = QChar(char16_t(readBigEndian(data_ + h.payload + 2 * i, 2)));
    return text;
}

quint64 Document::count(Object object) const {
    const Header h = header(object);
    return (h.type == Type::Array || h.type == Type::Dictionary) ? h.count : 0;
}

Document::Object Document::element(Object array, quint64 i) const {
    const Header h = header(array);
    if (h.type != Type::Array || i >= h.count)
        return Object{objectCount_};
    return Object{ref(h.payload + i * quint64(refSize_))};
}

std::optional<Document::Object> Document::value(Object dictionary, const char* asciiKey) const {
    const Header h = header(dictionary);
    if (h.type != Type::Dictionary)
        return std::nullopt;
    const quint64 keyLength = strlen(asciiKey);
    for (quint64 i = 0; i < h.count; ++i) {
        const quint64 keyIndex = ref(h.payload + i * quint64(refSize_));
        if (keyIndex >= objectCount_)
            continue;
        const quint64 offset =
            readBigEndian(data_ + tableOffset_ + keyIndex * quint64(offsetSize_), offsetSize_);
        if (offset < magicSize || offset >= tableOffset_)
            continue;
        // Short ASCII keys, the usual case, are compared where they lie.
        const unsigned char marker = data_[offset];
        if (keyLength < 15) {
            if (marker != (0x50 | keyLength) || keyLength > tableOffset_ - offset - 1 ||
                memcmp(data_ + offset + 1, asciiKey, keyLength) != 0)
                continue;
        } else {
            const Header key = header(Object{keyIndex});
            if (key.type != Type::String || key.utf16 || key.count != keyLength ||
                memcmp(data_ + key.payload, asciiKey, keyLength) != 0)
                continue;
        }
        return Object{ref(h.payload + (h.count + i) * quint64(refSize_))};
    }
    return std::nullopt;
}

} // namespace BinaryPropertyList
