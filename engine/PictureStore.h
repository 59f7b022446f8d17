// Pictures by content, kept across loads. Every engine load copies the pictures it uses into
// the resource cache and decodes them, and the editor reloads every engine object after every
// edit; the store makes that cheap: equal bytes are kept once, and each distinct picture is
// decoded once and then handed out as copies that share its pixels. Entries that no cache
// holds are dropped, least recently used first, once the store is over its budget.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <span>
#include <unordered_map>
#include <vector>

#include "PictureKey.h"
#include "RUZizod.h"

namespace tandel {

using SharedBytes = std::shared_ptr<const std::vector<std::uint8_t>>;

class PictureStore {
public:
    static PictureStore& Instance();

    // Bytes equal to these: the kept copy when there is one, else a new one that is kept.
    SharedBytes intern(std::span<const std::uint8_t> bytes, const PictureKey& key);
    // The picture these bytes (with this key) decode to, as a new picture of the caller's that
    // shares the decoded pixels; null when the bytes do not decode.
    std::unique_ptr<RUZizodGdi> load(std::span<const std::uint8_t> bytes, const PictureKey& key);

    // How many bytes of pictures and pixels the store keeps beyond those in use.
    void setBudget(std::size_t bytes);
    std::size_t keptBytes() const;
    // Drops every entry (the pictures handed out stay valid).
    void clear();

private:
    struct KeyHash {
        std::size_t operator()(const PictureKey& key) const { return std::size_t(key.hash); }
    };
    struct Entry {
        PictureKey key;
        SharedBytes bytes;                         // when interned
        std::unique_ptr<const RUZizodGdi> loaded;  // when decoded
        bool decoded = false;                      // tried, whether or not it worked
        std::size_t cost = 0;
    };
    using Entries = std::list<Entry>;  // most recently used first

    Entries::iterator find(const PictureKey& key);
    // Drops entries, oldest first, until the store is within its budget; keepFront spares the
    // entry just asked for.
    void trim(bool keepFront);

    mutable std::mutex lock_;
    Entries entries_;
    std::unordered_map<PictureKey, Entries::iterator, KeyHash> index_;
    std::size_t keptBytes_ = 0;
    std::size_t budget_ = std::size_t(384) << 20;
};

}  // namespace tandel
