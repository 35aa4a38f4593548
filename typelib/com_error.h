// The exception barrier of the server. Every COM method and DLL export runs its body through
// Guard, so that no C++ exception crosses the ABI: an error leaves as an HRESULT, and for
// interface methods also as IErrorInfo with the automation error's number, source and text.
#pragma once

#include <windows.h>

#include <cstdint>
#include <type_traits>

namespace velaqm::com {

// The HRESULT that carries an automation error number: VB-style numbers (1..65535) in the
// control facility, as VB itself raises them; a number that already is an HRESULT as it is.
HRESULT HResultOf(std::int32_t number) noexcept;
// The automation error number behind an HRESULT: the inverse of HResultOf.
std::int32_t ErrNumberOf(HRESULT hr) noexcept;

// The HRESULT for the exception in flight; with `iid`, also sets the thread's IErrorInfo.
HRESULT ReportCurrentException(const IID* iid) noexcept;

// For an IDispatch::Invoke that failed: DISP_E_EXCEPTION with the error's number (as scode),
// source and description in `exception`, read from the thread's error object, which stays set.
// Success, and a caller that passes no EXCEPINFO, get `hr` unchanged.
HRESULT AsDispatchException(HRESULT hr, EXCEPINFO* exception) noexcept;

// Runs the body of an interface method; the body returns an HRESULT or nothing (S_OK).
template <class Body>
HRESULT Guard(REFIID iid, Body&& body) noexcept {
    try {
        if constexpr (std::is_void_v<std::invoke_result_t<Body&>>) {
            body();
            return S_OK;
        } else {
            return body();
        }
    } catch (...) {
        return ReportCurrentException(&iid);
    }
}

// Runs the body of a DLL export, which has no interface to describe its error.
template <class Body>
HRESULT GuardExport(Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return ReportCurrentException(nullptr);
    }
}

}  // namespace velaqm::com
