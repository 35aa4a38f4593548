#include "script_call.h"

#include <utility>

namespace velaqm::testhost {

namespace {

const VARIANT& EmptyValue() {
    static const VARIANT empty{};
    return empty;
}

// A copy converted to `type`, or a ScriptError naming what was wanted.
com::Variant Converted(const VARIANT& value, VARTYPE type, const char* wanted) {
    com::Variant converted;
    if (FAILED(VariantChangeType(converted.put(), const_cast<VARIANT*>(&value), 0, type)))
        throw ScriptError(std::string("argument is not ") + wanted);
    return converted;
}

DISPID IdOf(IDispatch* object, std::wstring_view member) {
    std::wstring name(member);
    LPOLESTR names[] = {name.data()};
    DISPID id = DISPID_UNKNOWN;
    com::Check(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id),
               "GetIDsOfNames");
    return id;
}

}  // namespace

const VARIANT& Call::Value(std::size_t index) const {
    if (index >= m_args.size()) return EmptyValue();
    const VARIANT* value = m_args[index];
    while (V_VT(value) == (VT_BYREF | VT_VARIANT))
        value = V_VARIANTREF(value);
    return *value;
}

std::wstring Call::Text(std::size_t index) const {
    return TextOf(Value(index));
}

LONG Call::Long(std::size_t index) const {
    return V_I4(&Converted(Value(index), VT_I4, "a number").get());
}

bool Call::Bool(std::size_t index) const {
    return V_BOOL(&Converted(Value(index), VT_BOOL, "a Boolean").get()) != VARIANT_FALSE;
}

ComPtr<IDispatch> Call::Object(std::size_t index) const {
    const VARIANT& value = Value(index);
    switch (V_VT(&value)) {
        case VT_DISPATCH:
            return ComPtr<IDispatch>::copy(V_DISPATCH(&value));
        case VT_BYREF | VT_DISPATCH:
            return ComPtr<IDispatch>::copy(*V_DISPATCHREF(&value));
        default:
            return {};
    }
}

void Call::WriteBack(std::size_t index, std::wstring_view text) const {
    if (index >= m_args.size()) throw ScriptError("missing argument");
    VARIANT* slot = m_args[index];
    if (V_VT(slot) == (VT_BYREF | VT_VARIANT)) {
        VARIANT* target = V_VARIANTREF(slot);
        com::ClearVariant(*target);
        V_BSTR(target) = Bstr(text).detach();
        V_VT(target) = VT_BSTR;
    } else if (V_VT(slot) == (VT_BYREF | VT_BSTR)) {
        // The caller's old text is freed once the new one is in place.
        const Bstr old = Bstr::attach(std::exchange(*V_BSTRREF(slot), Bstr(text).detach()));
    } else {
        throw ScriptError("argument is not passed by reference");
    }
}

void Call::Return(LONG value) const {
    if (!m_result) return;
    V_VT(m_result) = VT_I4;
    V_I4(m_result) = value;
}

void Call::Return(bool value) const {
    if (!m_result) return;
    V_VT(m_result) = VT_BOOL;
    V_BOOL(m_result) = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void Call::Return(std::wstring_view text) const {
    if (!m_result) return;
    V_BSTR(m_result) = Bstr(text).detach();
    V_VT(m_result) = VT_BSTR;
}

void Call::Return(IDispatch* object) const {
    if (!m_result) return;
    V_VT(m_result) = VT_DISPATCH;
    V_DISPATCH(m_result) = ComPtr<IDispatch>::copy(object).detach();
}

void Call::Return(const VARIANT& value) const {
    if (m_result) com::Check(VariantCopy(m_result, const_cast<VARIANT*>(&value)), "VariantCopy");
}

ComPtr<com::testing::FakeHostObject> NewScriptObject() {
    auto object = com::testing::FakeHostObject::Make({});
    object->SetRecording(false);
    return object;
}

void AddMember(com::testing::FakeHostObject& object, std::wstring name, Member member) {
    const DISPID id = name == L"Item" ? DISPID_VALUE : object.NextFreeId();
    object.Add(std::move(name), id,
               [member = std::move(member)](std::span<VARIANT*> args, VARIANT* result,
                                            EXCEPINFO* error) -> HRESULT {
                   if (result) VariantInit(result);
                   Call call(args, result);
                   try {
                       member(call);
                       return S_OK;
                   } catch (const std::exception& e) {
                       if (result) com::ClearVariant(*result);
                       if (!error) return E_FAIL;
                       *error = EXCEPINFO{};
                       error->scode = E_FAIL;
                       error->bstrSource = Bstr(L"VelaQMTestHost").detach();
                       error->bstrDescription = Bstr(com::WideOf(e.what())).detach();
                       return DISP_E_EXCEPTION;
                   }
               });
}

com::Variant GetItem(IDispatch* object, std::wstring_view key) {
    com::Variant keyValue = TextValue(key);
    VARIANT args[] = {keyValue.get()};
    DISPPARAMS params{args, nullptr, 1, 0};
    com::Variant result;
    com::Check(object->Invoke(IdOf(object, L"Item"), IID_NULL, LOCALE_USER_DEFAULT,
                              DISPATCH_PROPERTYGET | DISPATCH_METHOD, &params, result.put(),
                              nullptr, nullptr),
               "Item");
    return result;
}

com::Variant GetProperty(IDispatch* object, std::wstring_view name) {
    DISPPARAMS params{nullptr, nullptr, 0, 0};
    com::Variant result;
    com::Check(object->Invoke(IdOf(object, name), IID_NULL, LOCALE_USER_DEFAULT,
                              DISPATCH_PROPERTYGET | DISPATCH_METHOD, &params, result.put(),
                              nullptr, nullptr),
               "property");
    return result;
}

void PutItem(IDispatch* object, std::wstring_view key, const VARIANT& value) {
    com::Variant keyValue = TextValue(key);
    // Arguments in reverse: the value written comes first.
    VARIANT args[] = {value, keyValue.get()};
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{args, &named, 2, 1};
    com::Check(object->Invoke(IdOf(object, L"Item"), IID_NULL, LOCALE_USER_DEFAULT,
                              DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr),
               "Item =");
}

com::Variant TextValue(std::wstring_view text) {
    com::Variant value;
    VARIANT* slot = value.put();
    V_BSTR(slot) = Bstr(text).detach();
    V_VT(slot) = VT_BSTR;
    return value;
}

com::Variant LongValue(LONG number) {
    com::Variant value;
    VARIANT* slot = value.put();
    V_VT(slot) = VT_I4;
    V_I4(slot) = number;
    return value;
}

std::wstring TextOf(const VARIANT& value) {
    com::Variant text;
    if (V_VT(&value) == VT_EMPTY || V_VT(&value) == VT_NULL) return L"";
    if (FAILED(VariantChangeType(text.put(), const_cast<VARIANT*>(&value), 0, VT_BSTR)))
        throw ScriptError("argument is not text");
    const BSTR converted = V_BSTR(&text.get());
    return std::wstring(converted, SysStringLen(converted));
}

}  // namespace velaqm::testhost
