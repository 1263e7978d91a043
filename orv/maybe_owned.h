#pragma once

#include <memory>

namespace ORV {

// A pointer in use that may or may not own its object. Copies borrow: they take the pointer in use
// and own nothing, so a copied drawing state shares the objects of the state it came from and must
// not outlive it. Storing a new value deletes the owned object unless it is the one stored.
template <typename T>
class MaybeOwned {
public:
    MaybeOwned() = default;
    MaybeOwned(const MaybeOwned& other) : fPointer(other.fPointer) {}
    MaybeOwned& operator=(const MaybeOwned& other)
    {
        Borrow(other.fPointer);
        return *this;
    }

    // Stores a new object, owned.
    void Own(std::unique_ptr<T> object)
    {
        fPointer = object.get();
        fOwned = std::move(object);
    }
    // Stores a pointer that someone else owns (or null).
    void Borrow(T* pointer)
    {
        if (fOwned.get() != pointer)
            fOwned.reset();
        fPointer = pointer;
    }
    void Clear() { Borrow(nullptr); }

    T* Get() const { return fPointer; }
    T* operator->() const { return fPointer; }
    explicit operator bool() const { return fPointer != nullptr; }
    bool IsOwned() const { return fOwned != nullptr; }

private:
    T* fPointer = nullptr;
    std::unique_ptr<T> fOwned;
};

} // namespace ORV
