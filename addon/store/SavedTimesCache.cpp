#include "addon/store/SavedTimesCache.h"

#include "addon/store/SavedTimesDocument.h"
#include "addon/store/SavedTimesStandIns.h"

#include "platform/foundation/FileBytes.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/foundation/PropertyListReader.h"

#include <new>
#include <stdexcept>

namespace lv {

SavedTimesCache& SavedTimesCache::shared() {
    static SavedTimesCache cache;
    return cache;
}

SavedTimesCache::Read SavedTimesCache::read(const std::string& path, Wanted wanted) {
    const std::lock_guard<std::mutex> guard(mutex_);
    const plist::Limits limits;
    std::string bytes;
    // The file is compared with the cached bytes only while they are this path's; their identity
    // lets a settled file go without reading it.
    const bool cached = tree_ && path == path_;
    static const std::string kNothing;
    static const std::optional<plist::FileIdentity> kUnknown;
    plist::KnownRead outcome;
    const plist::ReadResult got = plist::readFileBytesKnowing(
        path, limits.maxBytes, plist::KnownFile{cached ? bytes_ : kNothing, cached ? identity_ : kUnknown},
        bytes, outcome);
    if (!got.ok()) {
        dropLocked();
        return {got.status, nullptr, got.reason};
    }
    if (cached && outcome.unchanged) {
        ++counts_.reused;
        if (outcome.trusted) {
            ++counts_.trusted;
        }
        identity_ = outcome.identity;
        if (readStandInsLocked(wanted)) {
            return {plist::ReadStatus::Ok, tree_, {}};
        }
        // Text that was checked did not read: read the whole file as any other bytes.
        std::string kept = std::move(bytes_);
        dropLocked();
        return parseLocked(path, std::move(kept), outcome.identity);
    }
    ++counts_.parsed;
    // What the cache held describes bytes the file no longer has; let it go before the parse, so
    // that two trees of the file are never held at once.
    dropLocked();
    if (wanted != Wanted::Everything) {
        // The writer's text: only what the read needs becomes objects.
        if (auto tree = scanStandingIn(bytes)) {
            if (auto layout = SavedTimesLayout::scan(bytes, tree)) {
                ++counts_.stoodIn;
                path_ = path;
                bytes_ = std::move(bytes);
                tree_ = std::move(tree);
                identity_ = outcome.identity;
                layout_ = std::move(layout);
                if (readStandInsLocked(wanted)) {
                    return {plist::ReadStatus::Ok, tree_, {}};
                }
                bytes = std::move(bytes_);
                dropLocked();
            }
        }
    }
    return parseLocked(path, std::move(bytes), outcome.identity);
}

bool SavedTimesCache::readStandInsLocked(Wanted wanted) {
    if (!tree_ || !holdsStandIns(*tree_)) {
        return true;
    }
    if (!layout_) {
        return false;
    }
    std::vector<std::string> keys;
    if (wanted == Wanted::Everything) {
        for (const auto& entry : tree_->entries()) {
            keys.push_back(entry.first);
        }
    } else {
        if (!readStandIns(*layout_, bytes_, {kSectionsKey})) {
            return false;
        }
        tree_ = layout_->tree();
        // A capture into a file without names makes the default section and keeps its records.
        const std::vector<std::string> names = sectionNamesOf(*tree_);
        keys.push_back(sectionKey(names.empty() ? std::string(kDefaultSectionName) : names.front()));
    }
    const bool read = readStandIns(*layout_, bytes_, keys);
    tree_ = layout_->tree();
    return read;
}

SavedTimesCache::Read SavedTimesCache::parseLocked(const std::string& path, std::string bytes,
                                                   const std::optional<plist::FileIdentity>& identity) {
    const plist::Limits limits;
    // Parsed with immutable containers: the tree is the cache's and is handed out as it is. The
    // reader also tells whether the bytes are exactly the writer's text for the tree, as they are
    // when this program wrote them (in another process, or before this one started).
    plist::ReadResult parsed = plist::PropertyListReader(plist::Mutability::Immutable, limits,
                                                         plist::XmlParsing::ScanFirstNotingWriterText)
                                   .readDictionary(bytes);
    if (!parsed.ok()) {
        dropLocked();
        return {parsed.status, nullptr, path + ": " + parsed.reason};
    }
    path_ = path;
    bytes_ = std::move(bytes);
    tree_ = parsed.dictionary;
    identity_ = identity;
    // Bytes the writer made are laid out as a write leaves them, so the next write copies the text
    // of what it does not change, as after a write of this process. Any other bytes are written
    // whole once.
    layout_.reset();
    if (parsed.writerText) {
        layout_ = SavedTimesLayout::scan(bytes_, tree_);
    }
    return {plist::ReadStatus::Ok, tree_, {}};
}

plist::WriteResult SavedTimesCache::write(const NSDictionary& root, const std::string& path,
                                          const std::optional<plist::FileAttributes>& attributes) {
    const std::lock_guard<std::mutex> guard(mutex_);
    // Stand-ins are read from the cached text wherever the text cannot be copied.
    std::shared_ptr<NSDictionary> read;
    const bool standIns = holdsStandIns(root);
    const auto readRoot = [&]() -> const NSDictionary* {
        if (!standIns) {
            return &root;
        }
        if (!read) {
            read = withStandInsRead(root, layout_ ? &*layout_ : nullptr, bytes_);
        }
        return read.get();
    };
    std::optional<SavedTimesLayout::Assembled> assembled;
    if (layout_ && path == path_) {
        try {
            assembled = layout_->assemble(bytes_, root);
        } catch (const std::bad_alloc&) {
            assembled.reset();
        }
    }
    std::string text;
    std::shared_ptr<NSDictionary> tree;
    std::optional<SavedTimesLayout> layout;
    if (assembled) {
        ++counts_.assembled;
        if (checkAssembled_) {
            const NSDictionary* full = readRoot();
            const plist::EncodeResult whole = full ? plist::xmlTextForFile(*full) : plist::EncodeResult{};
            if (!whole.ok || whole.text != assembled->text) {
                throw std::logic_error("an assembled saved-times text differs from the writer's");
            }
        }
        text = std::move(assembled->text);
        tree = assembled->layout.tree();
        layout = std::move(assembled->layout);
    } else {
        ++counts_.whole;
        // The new text is about as long as the bytes last read; room for a little more is set
        // aside at once (untouched, it costs nothing).
        const std::size_t expected = path == path_ ? bytes_.size() + bytes_.size() / 16 : 0;
        const NSDictionary* full = readRoot();
        if (full == nullptr) {
            // Never met: the stand-ins come from this cache's own checked text.
            dropLocked();
            return {false, path + ": part of the file read before could not be read again; nothing was "
                                  "written, try again"};
        }
        plist::EncodeResult whole = plist::xmlTextForFile(*full, expected);
        if (!whole.ok) {
            dropLocked();
            return {false, std::move(whole.reason)};
        }
        text = std::move(whole.text);
        tree = SavedTimesLayout::immutableTree(*full);
        layout = SavedTimesLayout::scan(text, tree);
    }
    plist::WriteResult written = plist::AtomicFile::write(path, text, attributes);
    if (!written.ok) {
        dropLocked();
        return written;
    }
    path_ = path;
    bytes_ = std::move(text);
    tree_ = std::move(tree);
    layout_ = std::move(layout);
    // The file just written is known by its bytes only: the next read compares them and learns
    // its identity.
    identity_.reset();
    return written;
}

void SavedTimesCache::drop() {
    const std::lock_guard<std::mutex> guard(mutex_);
    dropLocked();
}

void SavedTimesCache::dropLocked() {
    path_.clear();
    bytes_.clear();
    bytes_.shrink_to_fit();
    tree_.reset();
    layout_.reset();
    identity_.reset();
}

void SavedTimesCache::setCheckAssembledTexts(bool check) {
    const std::lock_guard<std::mutex> guard(mutex_);
    checkAssembled_ = check;
}

SavedTimesCache::Counts SavedTimesCache::counts() const {
    const std::lock_guard<std::mutex> guard(mutex_);
    return counts_;
}

} // namespace lv
