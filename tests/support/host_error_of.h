// The error a call raises, for tests that check its number or text.
#pragma once

#include <gtest/gtest.h>

#include "frame/host_error.h"

namespace velaqm::testing {

// The HostError the call throws; the test fails when it throws none.
template <class Call>
HostError HostErrorOf(Call&& call) {
    try {
        call();
    } catch (const HostError& error) {
        return error;
    }
    ADD_FAILURE() << "no HostError";
    return HostError(0, "", "");
}

}  // namespace velaqm::testing
