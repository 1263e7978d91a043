// Reference-counted growable arrays.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

#include "base/exceptions.h"
#include "base/rc.h"

// One UTF-16 code unit.
using UniChar = char16_t;

namespace Wex {

// The capacity that holds `needed` entries: the capacity itself when it suffices; otherwise the
// capacity plus the increment (twice the capacity, or 1 from 0, when the increment is 0), and in
// both cases at least `needed`.
int64_t GrowCapacity(int64_t capacity, int64_t increment, int64_t needed) noexcept;

// A reference-counted array with a size, a capacity and a growth increment. The storage always
// holds one empty (zero) entry after the last, so 8-bit and UTF-16 vectors are terminated texts.
// Entries that are references are copied with a new reference and released when overwritten or
// destroyed; destruction releases the entries from the first to the last.
template <class T>
class rcVector : public rc {
public:
    rcVector() : fStorage(Allocate(0)) {}
    // A vector of `size` empty entries.
    explicit rcVector(int64_t size) : fSize(CheckCount(size)), fCapacity(size), fStorage(Allocate(size)) {}
    rcVector(const T* entries, int64_t count) : rcVector(count) { std::copy_n(entries, count, fStorage); }
    rcVector(const rcVector&) = delete;
    rcVector& operator=(const rcVector&) = delete;
    ~rcVector() override { Free(fStorage, fCapacity); }

    int64_t GetSize() const noexcept { return fSize; }
    int64_t GetCapacity() const noexcept { return fCapacity; }
    int64_t GetGrowthIncrement() const noexcept { return fIncrement; }
    void SetGrowthIncrement(int64_t increment) noexcept { fIncrement = increment; }
    static constexpr int64_t GetMaxSize() noexcept { return std::numeric_limits<int64_t>::max(); }

    T* GetData() noexcept { return fStorage; }
    const T* GetData() const noexcept { return fStorage; }
    T& operator[](int64_t index) noexcept { return fStorage[index]; }
    const T& operator[](int64_t index) const noexcept { return fStorage[index]; }
    T* begin() noexcept { return fStorage; }
    T* end() noexcept { return fStorage + fSize; }
    const T* begin() const noexcept { return fStorage; }
    const T* end() const noexcept { return fStorage + fSize; }

    // Inserts copies of `count` entries before `position`; the capacity grows by GrowCapacity.
    void Insert(int64_t position, const T* entries, int64_t count)
    {
        CheckRange(position, 0, fSize);
        CheckCount(count);
        if (count == 0) {
            return;
        }
        if (Overlaps(entries, count)) {
            const std::vector<T> copy(entries, entries + count);
            Insert(position, copy.data(), count);
            return;
        }
        OpenGap(position, count);
        std::copy_n(entries, count, fStorage + position);
    }
    void Insert(int64_t position, const T& entry) { Insert(position, &entry, 1); }
    void Append(const T& entry) { Insert(fSize, &entry, 1); }

    // Removes `count` entries from `position`; the entries after them move down.
    void Remove(int64_t position, int64_t count)
    {
        CheckRange(position, 0, fSize);
        CheckRange(count, 0, fSize - position);
        std::move(fStorage + position + count, fStorage + fSize, fStorage + position);
        std::fill(fStorage + fSize - count, fStorage + fSize, T());
        fSize -= count;
    }

    // Grows with empty entries or shrinks, releasing the entries cut off.
    void SetSize(int64_t size)
    {
        CheckCount(size);
        if (size < fSize) {
            Remove(size, fSize - size);
        } else if (size > fSize) {
            OpenGap(fSize, size - fSize);
        }
    }

    // Copies `count` entries of `source`, from `sourceIndex`, over the entries from `position`;
    // the size first grows (with empty entries) to cover them.
    void WriteAt(int64_t position, const rcVector& source, int64_t sourceIndex, int64_t count)
    {
        CheckCount(position);
        CheckRange(sourceIndex, 0, source.fSize);
        CheckRange(count, 0, source.fSize - sourceIndex);
        if (count > GetMaxSize() - position) {
            throw std::bad_alloc();
        }
        if (position + count > fSize) {
            SetSize(position + count);
        }
        // The source may be this vector: copy in the direction that overlap allows.
        const T* from = source.fStorage + sourceIndex;
        T* to = fStorage + position;
        if (std::less<const T*>()(from, to)) {
            std::copy_backward(from, from + count, to + count);
        } else {
            std::copy(from, from + count, to);
        }
    }
    // The same as WriteAt, answering the count written.
    int64_t Write(int64_t position, const rcVector& source, int64_t sourceIndex, int64_t count)
    {
        WriteAt(position, source, sourceIndex, count);
        return count;
    }

private:
    // Makes room for `count` empty entries before `position`, in new storage when the capacity
    // that GrowCapacity answers differs from the current one.
    void OpenGap(int64_t position, int64_t count)
    {
        if (count > GetMaxSize() - fSize) {
            throw std::bad_alloc();
        }
        const int64_t capacity = GrowCapacity(fCapacity, fIncrement, fSize + count);
        if (capacity == fCapacity) {
            std::move_backward(fStorage + position, fStorage + fSize, fStorage + fSize + count);
            std::fill_n(fStorage + position, std::min(count, fSize - position), T());
        } else {
            T* storage = Allocate(capacity);
            std::move(fStorage, fStorage + position, storage);
            std::move(fStorage + position, fStorage + fSize, storage + position + count);
            Free(fStorage, fCapacity);
            fStorage = storage;
            fCapacity = capacity;
        }
        fSize += count;
    }
    static int64_t CheckCount(int64_t count)
    {
        if (count < 0) {
            throw QorDebug::Assert("Negative vector count");
        }
        return count;
    }
    static void CheckRange(int64_t value, int64_t low, int64_t high)
    {
        if (value < low || value > high) {
            throw QorDebug::Assert("Vector index out of range");
        }
    }
    bool Overlaps(const T* entries, int64_t count) const noexcept
    {
        const std::less<const T*> less;
        return less(entries, fStorage + fCapacity + 1) && less(fStorage, entries + count);
    }
    // Storage for `capacity` entries and the terminating one, all empty.
    static T* Allocate(int64_t capacity)
    {
        if (capacity >= std::numeric_limits<int64_t>::max() / static_cast<int64_t>(sizeof(T))) {
            throw std::bad_alloc();
        }
        const auto slots = static_cast<size_t>(capacity) + 1;
        T* storage = std::allocator<T>().allocate(slots);
        try {
            std::uninitialized_value_construct_n(storage, slots);
        } catch (...) {
            std::allocator<T>().deallocate(storage, slots);
            throw;
        }
        return storage;
    }
    static void Free(T* storage, int64_t capacity) noexcept
    {
        const auto slots = static_cast<size_t>(capacity) + 1;
        std::destroy_n(storage, slots);
        std::allocator<T>().deallocate(storage, slots);
    }

    int64_t fSize = 0;
    int64_t fCapacity = 0;
    int64_t fIncrement = 0;
    T* fStorage;
};

} // namespace Wex

// Smart reference to a Wex::rcVector, with indexed access to its entries.
template <class V>
class aref : public ref<V> {
public:
    using ref<V>::ref;
    aref(const ref<V>& other) noexcept : ref<V>(other) {}

    int64_t GetSize() const noexcept { return this->Get() != nullptr ? this->Get()->GetSize() : 0; }
    auto& operator[](int64_t index) const noexcept { return (*this->Get())[index]; }
};
