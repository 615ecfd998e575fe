// The two kinds of fixed-capacity list the level keeps: counted lists whose
// entries are 1..count (entry 0 never used; golems, behaviour instances) and
// lists with a high index whose rows are 0..high (-1 when empty; dug cells,
// moving blocs, tile animations). An add to a full list is dropped; a removal
// closes the gap and keeps the order of the others.
//
// Entries may own engine handles. A record type that does declares
// `void ReleaseEntry(T&)` next to itself; the lists call it on every entry they
// remove or clear, so that no handle is lost, and entries past the end always
// hold a default record, so that no handle is ever held by two entries.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

namespace bounded_lists_detail {

template <typename T>
void Release(T& entry) {
    if constexpr (requires { ReleaseEntry(entry); }) ReleaseEntry(entry);
}

}  // namespace bounded_lists_detail

// Entries 1..Count() of at most `Capacity`; entry 0 is never used.
template <typename T, int32_t Capacity>
class CountedList {
  public:
    static constexpr int32_t kCapacity = Capacity;

    int32_t Count() const { return count_; }
    bool Empty() const { return count_ == 0; }
    bool Full() const { return count_ >= Capacity; }
    // True for a used entry, 1..Count().
    bool Valid(int32_t i) const { return i >= 1 && i <= count_; }

    // Entry i, 0..Capacity, unchecked: callers keep to 1..Count().
    T& operator[](int32_t i) { return items_[static_cast<size_t>(i)]; }
    const T& operator[](int32_t i) const { return items_[static_cast<size_t>(i)]; }

    // The used entries, 1..Count(), in order.
    T* begin() { return items_.data() + 1; }
    T* end() { return items_.data() + 1 + count_; }
    const T* begin() const { return items_.data() + 1; }
    const T* end() const { return items_.data() + 1 + count_; }

    // Appends a default entry and returns it (its index is then Count());
    // nullptr, with nothing changed, when the list is full.
    T* Add() {
        if (Full()) return nullptr;
        ++count_;
        items_[count_] = T{};
        return &items_[count_];
    }

    // Removes entry i (released first); the entries behind move down one place.
    // False, with nothing changed, when i is not a used entry.
    bool Remove(int32_t i) {
        if (!Valid(i)) return false;
        bounded_lists_detail::Release(items_[i]);
        std::move(items_.begin() + i + 1, items_.begin() + count_ + 1, items_.begin() + i);
        items_[count_] = T{};
        --count_;
        return true;
    }

    // Releases and resets every used entry; the list is empty afterwards.
    void Clear() {
        for (int32_t i = 1; i <= count_; ++i) {
            bounded_lists_detail::Release(items_[i]);
            items_[i] = T{};
        }
        count_ = 0;
    }

    // For a reader that fills the entries itself: empties the list, then makes
    // entries 1..n used, each a default record (n of 0 or less: empty). False,
    // with nothing changed, when n is above the capacity.
    bool SetCount(int32_t n) {
        if (n > Capacity) return false;
        Clear();
        count_ = std::max(n, 0);
        return true;
    }

  private:
    std::array<T, static_cast<size_t>(Capacity) + 1> items_{};
    int32_t count_ = 0;
};

// Rows 0..High() of `Rows` rows; High() is -1 when the list is empty.
template <typename T, int32_t Rows>
class HighIndexList {
  public:
    static constexpr int32_t kRows = Rows;
    static constexpr int32_t kLastRow = Rows - 1;

    int32_t High() const { return high_; }
    int32_t Count() const { return high_ + 1; }
    bool Empty() const { return high_ < 0; }
    bool Full() const { return high_ >= kLastRow; }
    // True for a used row, 0..High().
    bool Valid(int32_t i) const { return i >= 0 && i <= high_; }

    // Row i, 0..kLastRow, unchecked: callers keep to 0..High().
    T& operator[](int32_t i) { return items_[static_cast<size_t>(i)]; }
    const T& operator[](int32_t i) const { return items_[static_cast<size_t>(i)]; }

    // The used rows, 0..High(), in order.
    T* begin() { return items_.data(); }
    T* end() { return items_.data() + Count(); }
    const T* begin() const { return items_.data(); }
    const T* end() const { return items_.data() + Count(); }

    // Appends a default row and returns it (its index is then High());
    // nullptr, with nothing changed, when the high index is the last row.
    T* Add() {
        if (Full()) return nullptr;
        ++high_;
        items_[high_] = T{};
        return &items_[high_];
    }

    // Removes row i (released first); the rows behind move down one place.
    // False, with nothing changed, when i is not a used row.
    bool Remove(int32_t i) {
        if (!Valid(i)) return false;
        bounded_lists_detail::Release(items_[i]);
        std::move(items_.begin() + i + 1, items_.begin() + high_ + 1, items_.begin() + i);
        items_[high_] = T{};
        --high_;
        return true;
    }

    // Releases and resets every used row; High() is -1 afterwards.
    void Clear() {
        for (int32_t i = 0; i <= high_; ++i) {
            bounded_lists_detail::Release(items_[i]);
            items_[i] = T{};
        }
        high_ = -1;
    }

    // For a reader that fills the rows itself: empties the list, then makes
    // rows 0..h used, each a default record (h below 0: empty). False, with
    // nothing changed, when h is past the last row.
    bool SetHigh(int32_t h) {
        if (h > kLastRow) return false;
        Clear();
        high_ = std::max(h, -1);
        return true;
    }

  private:
    std::array<T, static_cast<size_t>(Rows)> items_{};
    int32_t high_ = -1;
};
