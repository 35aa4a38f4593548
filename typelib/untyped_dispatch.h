// The common half of the server's small IDispatch objects that carry no type information (the
// event sink, the faces of the library's dictionaries): reference counting, and
// QueryInterface for IUnknown, IDispatch and one interface of the object's own.
#pragma once

#include <oaidl.h>

#include <atomic>

namespace velaqm::com {

class UntypedDispatch : public IDispatch {
  public:
    explicit UntypedDispatch(const IID& own) : m_own(own) {}
    UntypedDispatch(const UntypedDispatch&) = delete;
    UntypedDispatch& operator=(const UntypedDispatch&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch && iid != m_own) return E_NOINTERFACE;
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() noexcept override {
        const ULONG left = --m_refs;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override {
        if (count) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) noexcept override {
        return E_NOTIMPL;
    }

  protected:
    virtual ~UntypedDispatch() = default;

  private:
    std::atomic<ULONG> m_refs{1};
    IID m_own;
};

}  // namespace velaqm::com
