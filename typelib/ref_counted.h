// The reference count of a COM object on the heap, shared by the server's objects and the test
// hosts': AddRef and Release of every interface the object derives from, thread-safe, and the
// object deleted at its last Release. An object starts with the one reference its creator holds.
#pragma once

#include <unknwn.h>

#include <atomic>

namespace velaqm::com {

template <class... Interfaces>
class RefCounted : public Interfaces... {
  public:
    RefCounted() = default;
    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;

    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() noexcept override {
        const ULONG left = --m_refs;
        if (left == 0) delete this;
        return left;
    }

  protected:
    virtual ~RefCounted() = default;
    ULONG References() const noexcept { return m_refs; }

  private:
    std::atomic<ULONG> m_refs{1};
};

}  // namespace velaqm::com
