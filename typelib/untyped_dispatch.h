// The common half of the server's small IDispatch objects that carry no type information (the
// event sink, the faces of the library's dictionaries): QueryInterface for IUnknown, IDispatch
// and one interface of the object's own.
#pragma once

#include <oaidl.h>

#include "typelib/ref_counted.h"

namespace velaqm::com {

class UntypedDispatch : public RefCounted<IDispatch> {
  public:
    explicit UntypedDispatch(const IID& own) : m_own(own) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch && iid != m_own) return E_NOINTERFACE;
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override {
        if (count) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) noexcept override {
        return E_NOTIMPL;
    }

  protected:
    ~UntypedDispatch() override = default;

  private:
    IID m_own;
};

}  // namespace velaqm::com
