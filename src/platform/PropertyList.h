#pragma once

#include <QByteArray>
#include <QVariant>
#include <memory>
#include <optional>

typedef void* plist_t;

// Property lists through libplist: reads XML and binary ones, writes both.
namespace PropertyList {

struct NodeDeleter {
    void operator()(void* node) const;
};
using Node = std::unique_ptr<void, NodeDeleter>;

// Deeper documents are refused before they are handed to the parser.
constexpr int maximumDepth = 64;

// A parsed document, or null when the bytes are not a property list.
Node parse(const QByteArray& bytes);
QByteArray toXml(plist_t root);
QByteArray toBinary(plist_t root);

// Plain values: dictionaries become QVariantMap, arrays QVariantList, data QByteArray.
std::optional<QVariant> parseValue(const QByteArray& bytes);
Node fromValue(const QVariant& value);
QVariant toValue(plist_t node);

} // namespace PropertyList
