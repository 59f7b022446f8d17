#include "PictureStore.h"

#include <cstring>

namespace tandel {

PictureStore& PictureStore::Instance() {
    static PictureStore store;
    return store;
}

PictureStore::Entries::iterator PictureStore::find(const PictureKey& key) {
    auto found = index_.find(key);
    if (found == index_.end()) {
        entries_.push_front(Entry{key, nullptr, nullptr, false, 0});
        index_[key] = entries_.begin();
        return entries_.begin();
    }
    entries_.splice(entries_.begin(), entries_, found->second);
    return entries_.begin();
}

SharedBytes PictureStore::intern(std::span<const std::uint8_t> bytes, const PictureKey& key) {
    std::lock_guard guard(lock_);
    Entries::iterator entry = find(key);
    if (!entry->bytes) {
        entry->bytes =
            std::make_shared<const std::vector<std::uint8_t>>(bytes.begin(), bytes.end());
        entry->cost += bytes.size();
        keptBytes_ += bytes.size();
    }
    SharedBytes shared = entry->bytes;
    trim(true);
    return shared;
}

std::unique_ptr<RUZizodGdi> PictureStore::load(std::span<const std::uint8_t> bytes,
                                               const PictureKey& key) {
    std::lock_guard guard(lock_);
    Entries::iterator entry = find(key);
    if (!entry->decoded) {
        entry->decoded = true;
        auto picture = std::make_unique<RUZizodGdi>();
        if (!bytes.empty() && picture->LoadFromMemory(bytes.data(), std::int64_t(bytes.size()))) {
            const std::size_t cost = picture->PixelBytes();
            entry->cost += cost;
            keptBytes_ += cost;
            entry->loaded = std::move(picture);
        }
    }
    std::unique_ptr<RUZizodGdi> copy = entry->loaded ? entry->loaded->Copy() : nullptr;
    trim(true);
    return copy;
}

void PictureStore::trim(bool keepFront) {
    // Entries whose bytes a cache still holds stay.
    for (auto it = entries_.end(); keptBytes_ > budget_ && it != entries_.begin();) {
        --it;
        if ((keepFront && it == entries_.begin()) || (it->bytes && it->bytes.use_count() > 1)) {
            continue;
        }
        keptBytes_ -= it->cost;
        index_.erase(it->key);
        it = entries_.erase(it);
    }
}

void PictureStore::setBudget(std::size_t bytes) {
    std::lock_guard guard(lock_);
    budget_ = bytes;
    trim(false);
}

std::size_t PictureStore::keptBytes() const {
    std::lock_guard guard(lock_);
    return keptBytes_;
}

void PictureStore::clear() {
    std::lock_guard guard(lock_);
    entries_.clear();
    index_.clear();
    keptBytes_ = 0;
}

}  // namespace tandel
