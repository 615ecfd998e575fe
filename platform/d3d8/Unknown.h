// Reference counting of the device's objects: every object starts with one
// reference, AddRef and Release count up and down, and the last Release ends
// the object. Ref<T> holds one reference for its lifetime (RAII). Counts are
// not atomic: the objects are used from one thread, as the device is.
#pragma once

#include <cstdint>

namespace d3d8 {

class Unknown {
  public:
    Unknown(const Unknown&) = delete;
    Unknown& operator=(const Unknown&) = delete;

    // Adds a reference; returns the new count.
    uint32_t AddRef() { return ++refs_; }
    // Drops a reference; returns the count left. At 0 the object ends (a
    // device that still has resources ends with its last resource).
    uint32_t Release();

  protected:
    Unknown();
    virtual ~Unknown();
    // What the last Release does; by default the object is deleted.
    virtual void LastRelease() { delete this; }

  private:
    uint32_t refs_ = 1;
};

// Number of device objects (Direct3D objects, devices, textures, vertex
// buffers) alive in the process.
int64_t LiveObjects();

// One reference to an object, released when the holder goes.
template <typename T>
class Ref {
  public:
    Ref() = default;
    // Takes over a reference the caller holds (as a Create call returns).
    explicit Ref(T* adopted) : p_(adopted) {}
    Ref(const Ref& other) : p_(other.p_) {
        if (p_ != nullptr) p_->AddRef();
    }
    Ref(Ref&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
    Ref& operator=(Ref other) noexcept {
        T* old = p_;
        p_ = other.p_;
        other.p_ = old;
        return *this;
    }
    ~Ref() { Reset(); }

    // Releases the reference held, if any.
    void Reset() {
        T* p = p_;
        p_ = nullptr;
        if (p != nullptr) p->Release();
    }
    // The place where a Create call puts its new object (the old one is released).
    T** Out() {
        Reset();
        return &p_;
    }
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }

  private:
    T* p_ = nullptr;
};

// A new reference to `p` (null stays null).
template <typename T>
Ref<T> Hold(T* p) {
    if (p != nullptr) p->AddRef();
    return Ref<T>(p);
}

}  // namespace d3d8
