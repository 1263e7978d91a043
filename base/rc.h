// Reference-counted objects and the smart references that hold them.
#pragma once

#include <atomic>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace Wex {

// Base of every reference-counted object: the table of virtual functions comes first, then the
// 64-bit count. A new object starts with no references; the first smart reference takes one, and
// releasing the last hands the object to the global deleter. Do not hand out references to an
// object from its own constructor: releasing them there would destroy the half-built object.
class rc {
public:
    rc() noexcept = default;
    // A copy is a new object with a count of its own.
    rc(const rc&) noexcept {}
    rc& operator=(const rc&) noexcept { return *this; }
    virtual ~rc() = default;

    int64_t GetReferenceCount() const noexcept { return fReferenceCount.load(std::memory_order_acquire); }

private:
    friend void AddReference(const rc* object) noexcept;
    friend void ReleaseReference(const rc* object) noexcept;

    mutable std::atomic<int64_t> fReferenceCount{0};
};

// Adds one reference; a null object is ignored.
void AddReference(const rc* object) noexcept;
// Drops one reference; a null object is ignored. At zero the global deleter destroys the object.
void ReleaseReference(const rc* object) noexcept;

// The global deleter receives every object whose last reference goes; the default runs the
// deleting destructor. SetDeleter installs another one and answers the previous.
using Deleter = void (*)(rc* object);
Deleter SetDeleter(Deleter deleter) noexcept;

} // namespace Wex

// Owning smart reference to one object (null when empty). Copying adds a reference, destruction
// releases one.
template <class T>
class ref {
public:
    ref() noexcept = default;
    ref(std::nullptr_t) noexcept {}
    ref(T* object) noexcept : fObjectPointer(object) { Wex::AddReference(object); }
    ref(const ref& other) noexcept : ref(other.fObjectPointer) {}
    ref(ref&& other) noexcept : fObjectPointer(std::exchange(other.fObjectPointer, nullptr)) {}
    template <class U>
        requires std::convertible_to<U*, T*>
    ref(const ref<U>& other) noexcept : ref(other.Get())
    {
    }
    template <class U>
        requires std::convertible_to<U*, T*>
    ref(ref<U>&& other) noexcept : fObjectPointer(other.Detach())
    {
    }
    ~ref() { Wex::ReleaseReference(fObjectPointer); }

    ref& operator=(ref other) noexcept
    {
        std::swap(fObjectPointer, other.fObjectPointer);
        return *this;
    }

    T* Get() const noexcept { return fObjectPointer; }
    T* operator->() const noexcept { return fObjectPointer; }
    T& operator*() const noexcept { return *fObjectPointer; }
    explicit operator bool() const noexcept { return fObjectPointer != nullptr; }

    // Gives up the reference without releasing it; the caller now owns it.
    T* Detach() noexcept { return std::exchange(fObjectPointer, nullptr); }

    template <class U>
    bool operator==(const ref<U>& other) const noexcept
    {
        return fObjectPointer == other.Get();
    }
    bool operator==(std::nullptr_t) const noexcept { return fObjectPointer == nullptr; }

private:
    T* fObjectPointer = nullptr;
};

// Smart reference to one interface of a reference-counted object: it keeps the object alive
// (fObjectReference) and calls through the interface pointer (fInterfacePointer).
template <class I>
class iref {
public:
    iref() noexcept = default;
    iref(std::nullptr_t) noexcept {}
    iref(Wex::rc* object, I* interface) noexcept : fObjectReference(object), fInterfacePointer(interface) {}
    template <class T>
        requires std::derived_from<T, Wex::rc> && std::convertible_to<T*, I*>
    iref(T* object) noexcept : fObjectReference(object), fInterfacePointer(object)
    {
    }
    template <class T>
        requires std::derived_from<T, Wex::rc> && std::convertible_to<T*, I*>
    iref(const ref<T>& object) noexcept : iref(object.Get())
    {
    }
    template <class J>
        requires(!std::same_as<J, I>) && std::convertible_to<J*, I*>
    iref(const iref<J>& other) noexcept : fObjectReference(other.GetObject()), fInterfacePointer(other.Get())
    {
    }
    iref(const iref&) noexcept = default;
    // A moved-from reference is empty: it neither holds the object nor points at its interface.
    iref(iref&& other) noexcept
        : fObjectReference(std::move(other.fObjectReference)),
          fInterfacePointer(std::exchange(other.fInterfacePointer, nullptr))
    {
    }
    iref& operator=(iref other) noexcept
    {
        std::swap(fObjectReference, other.fObjectReference);
        std::swap(fInterfacePointer, other.fInterfacePointer);
        return *this;
    }

    I* Get() const noexcept { return fInterfacePointer; }
    Wex::rc* GetObject() const noexcept { return fObjectReference.Get(); }
    I* operator->() const noexcept { return fInterfacePointer; }
    I& operator*() const noexcept { return *fInterfacePointer; }
    explicit operator bool() const noexcept { return fInterfacePointer != nullptr; }

    // Two interface references are equal when they reach the same interface.
    template <class J>
    bool operator==(const iref<J>& other) const noexcept
    {
        return fInterfacePointer == other.Get();
    }
    bool operator==(std::nullptr_t) const noexcept { return fInterfacePointer == nullptr; }

private:
    ref<Wex::rc> fObjectReference;
    I* fInterfacePointer = nullptr;
};
