#pragma once

#include <cstddef>
#include <utility>
#include <vector>

// A back/forward list. Going somewhere new drops everything ahead of the current
// position; going back or forward only moves the position.
template <typename Entry>
class BrowseHistory {
public:
    // Makes entry the current position, discarding the forward part.
    void Push(Entry entry) {
        entries_.erase(entries_.begin() + (index_ + 1), entries_.end());
        entries_.push_back(std::move(entry));
        ++index_;
    }

    // Puts entry in place of the current one, forward part and all; with no
    // current entry it is pushed.
    void ReplaceCurrent(Entry entry) {
        if (index_ < 0) {
            Push(std::move(entry));
            return;
        }
        entries_.erase(entries_.begin() + (index_ + 1), entries_.end());
        entries_[static_cast<size_t>(index_)] = std::move(entry);
    }

    [[nodiscard]] bool CanGoBack() const { return index_ > 0; }
    [[nodiscard]] bool CanGoForward() const { return index_ + 1 < Size(); }

    // Moves one step and returns the entry there, or null at either end.
    Entry* Back() { return CanGoBack() ? &entries_[static_cast<size_t>(--index_)] : nullptr; }
    Entry* Forward() { return CanGoForward() ? &entries_[static_cast<size_t>(++index_)] : nullptr; }

    // Puts the position back where it was before a step that led nowhere.
    void MoveTo(int index) {
        if (index >= -1 && index < Size()) index_ = index;
    }

    // Takes over a whole list, as saved or carried from elsewhere; a position
    // outside it leaves the history empty.
    void Assign(std::vector<Entry> entries, int index) {
        if (index < 0 || index >= static_cast<int>(entries.size())) {
            Clear();
            return;
        }
        entries_ = std::move(entries);
        index_ = index;
    }

    [[nodiscard]] const std::vector<Entry>& Entries() const { return entries_; }

    void Clear() {
        entries_.clear();
        index_ = -1;
    }

    [[nodiscard]] int Index() const { return index_; }
    [[nodiscard]] int Size() const { return static_cast<int>(entries_.size()); }

private:
    std::vector<Entry> entries_;
    int index_ = -1;
};
