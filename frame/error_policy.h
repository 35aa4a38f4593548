// The error policies of the event handlers. Each handler has exactly one, written at its top:
//   TrapSilently(body)          a failing call ends the handler, nothing is shown;
//   TrapAndShow(prefix, body)   the prefix and the error's description are shown in an
//                               information box;
//   ResumeNext(call)            one call whose failure is ignored, the handler goes on;
//   no helper                   the error goes back to the host.
// A trapped error becomes the pending error (frame/err.h), as the runtime would make it.
#pragma once

#include <exception>
#include <string>
#include <string_view>

#include "frame/err.h"
#include "frame/host_error.h"

namespace velaqm {

// The error of an exception that is not a HostError, as the runtime would report it.
inline constexpr std::int32_t kErrUnexpected = -2147467259;  // E_FAIL
HostError AsHostError(const std::exception& error);

// Shows prefix + description with the information icon (frame/messages.h).
void ShowTrappedError(std::string_view prefix, const HostError& error);

template <class Body>
void TrapSilently(Body&& body) {
    try {
        body();
    } catch (const std::exception& e) {
        SetErr(AsHostError(e));
    }
}

template <class Body>
void TrapAndShow(std::string_view prefix, Body&& body) {
    try {
        body();
    } catch (const std::exception& e) {
        HostError error = AsHostError(e);
        SetErr(error);
        ShowTrappedError(prefix, error);
    }
}

template <class Call>
void ResumeNext(Call&& call) {
    try {
        call();
    } catch (const std::exception& e) {
        SetErr(AsHostError(e));
    }
}

// ResumeNext for a call whose result is wanted: the fallback when it fails.
template <class Call, class T>
auto ResumeNextOr(Call&& call, T fallback) -> decltype(call()) {
    try {
        return call();
    } catch (const std::exception& e) {
        SetErr(AsHostError(e));
        return fallback;
    }
}

}  // namespace velaqm
