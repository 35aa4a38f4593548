#include "typelib/com_variant.h"

#include <string>

#include "frame/host_error.h"
#include "typelib/com_platform.h"
#include "typelib/host_adapters.h"
#include "typelib/host_objects.h"
#include "typelib/local_dispatch.h"

namespace velaqm::com {

namespace {

constexpr std::string_view kSource = "VelaQMBillEvent";

[[noreturn]] void TypeMismatch() {
    throw HostError(kErrTypeMismatch, std::string(kSource), "Type mismatch");
}

// Decimals cross as invariant text, which both sides read and write exactly.
Decimal DecimalOf(DECIMAL value) {
    Bstr text;
    Check(VarBstrFromDec(&value, LOCALE_INVARIANT, 0, text.put()), "VarBstrFromDec");
    const auto parsed = Decimal::Parse(Utf8Of(text.view()));
    if (!parsed) TypeMismatch();
    return *parsed;
}

Date DateOf(double oleDate) {
    SYSTEMTIME time{};
    if (!VariantTimeToSystemTime(oleDate, &time)) TypeMismatch();
    return Date(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond);
}

velaqm::Variant ObjectOf(IUnknown* object) {
    if (!object) return velaqm::Variant::Nothing();
    const auto dispatch = ComPtr<IUnknown>::copy(object).try_query<IDispatch>();
    if (!dispatch) TypeMismatch();
    if (ObjectPtr own = LocalObjectBehind(dispatch.get())) return velaqm::Variant(own);
    return velaqm::Variant(AdaptHostObject(dispatch.get()));
}

}  // namespace

velaqm::Variant FromVariant(const VARIANT& value) {
    if (V_VT(&value) & VT_BYREF) return FromVariant(com::Variant::copy_ind(value).get());
    switch (V_VT(&value)) {
        case VT_EMPTY:
            return {};
        case VT_NULL:
            return kNull;
        case VT_BOOL:
            return V_BOOL(&value) != VARIANT_FALSE;
        case VT_I1:
            return static_cast<std::int32_t>(V_I1(&value));
        case VT_UI1:
            return V_UI1(&value);
        case VT_I2:
            return V_I2(&value);
        case VT_UI2:
            return V_UI2(&value);
        case VT_I4:
            return static_cast<std::int32_t>(V_I4(&value));
        case VT_UI4:
            return static_cast<std::uint32_t>(V_UI4(&value));
        case VT_INT:
            return V_INT(&value);
        case VT_UINT:
            return V_UINT(&value);
        case VT_I8:
            return static_cast<std::int64_t>(V_I8(&value));
        case VT_UI8:
            return static_cast<std::uint64_t>(V_UI8(&value));
        case VT_R4:
            return static_cast<double>(V_R4(&value));
        case VT_R8:
            return V_R8(&value);
        case VT_CY: {
            DECIMAL decimal{};
            Check(VarDecFromCy(V_CY(&value), &decimal), "VarDecFromCy");
            return DecimalOf(decimal);
        }
        case VT_DECIMAL:
            return DecimalOf(V_DECIMAL(&value));
        case VT_BSTR: {
            const BSTR text = V_BSTR(&value);
            return Utf8Of(text ? std::wstring_view(text, SysStringLen(text)) : std::wstring_view());
        }
        case VT_DATE:
            return DateOf(V_DATE(&value));
        case VT_DISPATCH:
            return ObjectOf(V_DISPATCH(&value));
        case VT_UNKNOWN:
            return ObjectOf(V_UNKNOWN(&value));
        case VT_ERROR:
            if (V_ERROR(&value) == DISP_E_PARAMNOTFOUND) return {};
            break;
        default:
            break;
    }
    TypeMismatch();
}

ComPtr<IDispatch> HostObjectIn(const VARIANT& value) {
    IUnknown* object = nullptr;
    if (V_VT(&value) == VT_DISPATCH)
        object = V_DISPATCH(&value);
    else if (V_VT(&value) == VT_UNKNOWN)
        object = V_UNKNOWN(&value);
    if (!object) return nullptr;
    auto dispatch = ComPtr<IUnknown>::copy(object).try_query<IDispatch>();
    if (!dispatch || LocalObjectBehind(dispatch.get())) return nullptr;
    EnsureComPlatform();  // as for any host object coming in (host_adapters.cpp)
    return dispatch;
}

com::Variant ToVariant(const velaqm::Variant& value) {
    com::Variant result;
    VARIANT& out = *result.put();
    switch (value.Type()) {
        case VarType::Empty:
            break;
        case VarType::Null:
            V_VT(&out) = VT_NULL;
            break;
        case VarType::Boolean:
            V_VT(&out) = VT_BOOL;
            V_BOOL(&out) = value.AsBool() ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case VarType::Long:
            V_VT(&out) = VT_I4;
            V_I4(&out) = value.AsLong();
            break;
        case VarType::Double:
            V_VT(&out) = VT_R8;
            V_R8(&out) = value.AsDouble();
            break;
        case VarType::Decimal: {
            DECIMAL decimal{};
            const Bstr text(WideOf(value.AsDecimal().ToString()));
            Check(VarDecFromStr(text.get(), LOCALE_INVARIANT, 0, &decimal), "VarDecFromStr");
            // DECIMAL overlays the type field: the value first, then its type.
            V_DECIMAL(&out) = decimal;
            V_VT(&out) = VT_DECIMAL;
            break;
        }
        case VarType::String:
            V_BSTR(&out) = Bstr(WideOf(value.AsString())).detach();
            V_VT(&out) = VT_BSTR;
            break;
        case VarType::Date: {
            const Date& date = value.AsDate();
            SYSTEMTIME time{};
            time.wYear = static_cast<WORD>(date.Year());
            time.wMonth = static_cast<WORD>(date.Month());
            time.wDay = static_cast<WORD>(date.Day());
            time.wHour = static_cast<WORD>(date.Hour());
            time.wMinute = static_cast<WORD>(date.Minute());
            time.wSecond = static_cast<WORD>(date.Second());
            double oleDate = 0;
            if (!SystemTimeToVariantTime(&time, &oleDate)) TypeMismatch();
            V_VT(&out) = VT_DATE;
            V_DATE(&out) = oleDate;
            break;
        }
        case VarType::Object: {
            // A host object goes back as itself, a dictionary or vector of the library's own as
            // its COM face; no other object of the library crosses.
            ComPtr<IDispatch> face;
            if (!value.IsNothing()) {
                const ObjectPtr& object = value.AsObject();
                face = ComPtr<IDispatch>::copy(HostDispatchOf(*object));
                if (!face) face = LocalDispatchOf(object, EnsureComPlatform().Names());
                if (!face) TypeMismatch();
            }
            V_VT(&out) = VT_DISPATCH;
            V_DISPATCH(&out) = face.detach();
            break;
        }
    }
    return result;
}

}  // namespace velaqm::com
