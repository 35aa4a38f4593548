// Owning handles for COM: interface pointers, BSTRs and VARIANTs. Every reference, string and
// value the server holds is owned by one of these, so that no early return or exception can leak
// one. Outside the objects' own IUnknown (typelib/ref_counted.h), AddRef, Release, SysFreeString
// and VariantClear are called here and nowhere else.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <cstddef>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace velaqm::com {

// A failing HRESULT as an exception, for code between two COM calls.
class ComError : public std::runtime_error {
  public:
    ComError(HRESULT hr, const char* what) : std::runtime_error(what), m_hr(hr) {}
    HRESULT Code() const { return m_hr; }

  private:
    HRESULT m_hr;
};

inline void Check(HRESULT hr, const char* what) {
    if (FAILED(hr)) throw ComError(hr, what);
}

template <class T>
class ComPtr {
  public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    ComPtr(const ComPtr& other) noexcept : m_p(other.m_p) {
        if (m_p) m_p->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(m_p, other.m_p);
        return *this;
    }
    ~ComPtr() { reset(); }

    // Takes over a reference the caller already owns (a new object, an out-parameter).
    static ComPtr attach(T* p) noexcept {
        ComPtr result;
        result.m_p = p;
        return result;
    }
    // Shares a borrowed pointer: adds a reference of its own.
    static ComPtr copy(T* p) noexcept {
        if (p) p->AddRef();
        return attach(p);
    }

    T* get() const noexcept { return m_p; }
    T* operator->() const noexcept { return m_p; }
    T& operator*() const noexcept { return *m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }

    void reset() noexcept {
        if (T* p = std::exchange(m_p, nullptr)) p->Release();
    }
    // Gives up the reference to a caller that will release it.
    T* detach() noexcept { return std::exchange(m_p, nullptr); }
    // For an out-parameter: drops what is held and returns the slot the callee fills.
    T** put() noexcept {
        reset();
        return &m_p;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
    // Hands a new reference out through an out-parameter.
    void copy_to(T** out) const noexcept { *out = copy(m_p).detach(); }

    // The interface U of the same object, which must be there: throws ComError otherwise.
    template <class U>
    ComPtr<U> query() const {
        ComPtr<U> result;
        Check(m_p ? m_p->QueryInterface(__uuidof(U), result.put_void()) : E_POINTER,
              "QueryInterface");
        return result;
    }
    // The interface U of the same object, or null when it is not offered.
    template <class U>
    ComPtr<U> try_query() const noexcept {
        ComPtr<U> result;
        if (m_p) m_p->QueryInterface(__uuidof(U), result.put_void());
        return result;
    }

  private:
    T* m_p = nullptr;
};

class Bstr {
  public:
    Bstr() noexcept = default;
    explicit Bstr(std::wstring_view text)
        : m_b(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
        if (!m_b) throw std::bad_alloc();
    }
    Bstr(Bstr&& other) noexcept : m_b(std::exchange(other.m_b, nullptr)) {}
    Bstr& operator=(Bstr&& other) noexcept {
        std::swap(m_b, other.m_b);
        return *this;
    }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(m_b); }

    static Bstr attach(BSTR b) noexcept {
        Bstr result;
        result.m_b = b;
        return result;
    }

    BSTR get() const noexcept { return m_b; }
    BSTR detach() noexcept { return std::exchange(m_b, nullptr); }
    BSTR* put() noexcept {
        SysFreeString(std::exchange(m_b, nullptr));
        return &m_b;
    }
    // A null BSTR reads as the empty text, as automation defines it.
    std::wstring_view view() const noexcept { return {m_b ? m_b : L"", SysStringLen(m_b)}; }

  private:
    BSTR m_b = nullptr;
};

// Frees what a VARIANT holds and leaves it Empty; one owned elsewhere (an in/out argument about
// to be rewritten) is cleared through here too. A value that holds nothing to free skips the call
// into oleaut32, which every result and argument would otherwise pay.
inline void ClearVariant(VARIANT& value) noexcept {
    constexpr unsigned long long kPlain =
        (1ull << VT_EMPTY) | (1ull << VT_NULL) | (1ull << VT_I2) | (1ull << VT_I4) |
        (1ull << VT_R4) | (1ull << VT_R8) | (1ull << VT_CY) | (1ull << VT_DATE) |
        (1ull << VT_ERROR) | (1ull << VT_BOOL) | (1ull << VT_DECIMAL) | (1ull << VT_I1) |
        (1ull << VT_UI1) | (1ull << VT_UI2) | (1ull << VT_UI4) | (1ull << VT_I8) |
        (1ull << VT_UI8) | (1ull << VT_INT) | (1ull << VT_UINT);
    const VARTYPE type = V_VT(&value);
    if (type < 64 && ((kPlain >> type) & 1) != 0)
        V_VT(&value) = VT_EMPTY;
    else
        VariantClear(&value);
}

class Variant {
  public:
    Variant() noexcept = default;
    Variant(Variant&& other) noexcept : m_v(other.m_v) { VariantInit(&other.m_v); }
    Variant& operator=(Variant&& other) noexcept {
        std::swap(m_v, other.m_v);
        return *this;
    }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { ClearVariant(m_v); }

    // A deep copy of a VARIANT owned elsewhere, with references followed.
    static Variant copy_ind(const VARIANT& source) {
        Variant result;
        Check(VariantCopyInd(&result.m_v, const_cast<VARIANT*>(&source)), "VariantCopyInd");
        return result;
    }

    const VARIANT& get() const noexcept { return m_v; }
    VARIANT* put() noexcept {
        ClearVariant(m_v);
        return &m_v;
    }
    // Moves the value into a VARIANT the caller owns (an [out, retval] slot).
    void detach_to(VARIANT* out) noexcept {
        *out = m_v;
        VariantInit(&m_v);
    }

  private:
    VARIANT m_v{};  // all zero: Empty
};

// UTF-8, the plug-ins' text, to and from the UTF-16 of COM.
std::wstring WideOf(std::string_view utf8);
std::string Utf8Of(std::wstring_view wide);

}  // namespace velaqm::com
