#pragma once
// Dictionaries with string keys, the only kind property lists hold. NSDictionary cannot be
// changed; NSMutableDictionary can.
//
// The entries are one sorted array rather than a tree of nodes: a file's dictionaries are many
// and small (a saved result has four keys), so one allocation per dictionary instead of one per
// key is what keeps a parsed file near its text's size and its parse and release fast. Lookups
// are a binary search; an insertion into a large dictionary moves the entries after it, which
// only a few small dictionaries (settings, the saved-times root) ever see.

#include "platform/runtime/NSObject.h"

#include <boost/container/flat_map.hpp>

#include <memory>
#include <string>

/// An immutable map from string keys to objects.
class NSDictionary : public NSObject {
  public:
    static constexpr const char* kClassName = "NSDictionary";
    using Super = NSObject;
    using Entries = boost::container::flat_map<std::string, id>;

    explicit NSDictionary(Entries entries = {}) : entries_(std::move(entries)) {}
    static std::shared_ptr<NSDictionary> with(Entries entries);

    [[nodiscard]] std::size_t count() const { return entries_.size(); }
    /// The object under `key`, or nil.
    [[nodiscard]] id objectForKey(const std::string& key) const;
    /// The object under `key` as a T; nil when missing or of another kind.
    template <class T>
    [[nodiscard]] std::shared_ptr<T> objectAs(const std::string& key) const {
        return rt::cast<T>(objectForKey(key));
    }
    [[nodiscard]] const Entries& entries() const { return entries_; }
    [[nodiscard]] rt::ValueKind valueKind() const override { return rt::ValueKind::Dictionary; }
    [[nodiscard]] bool isEqual(const NSObject& other) const override;

  protected:
    Entries entries_;
};

/// A map from string keys to objects that can be changed in place.
class NSMutableDictionary : public NSDictionary {
  public:
    static constexpr const char* kClassName = "NSMutableDictionary";
    using Super = NSDictionary;

    using NSDictionary::NSDictionary;
    static std::shared_ptr<NSMutableDictionary> with(Entries entries = {});

    /// Stores `object` under `key`; a nil object raises as on the phone.
    void setObject(id object, const std::string& key);
    void removeObjectForKey(const std::string& key) { entries_.erase(key); }
};
