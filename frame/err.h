// The pending error of the library: the number, description, source and help of the last
// run-time error a handler trapped, as the automation runtime keeps it. Routines that must not
// disturb their caller's error (the string loader, the trace log) keep it with ErrKeeper.
#pragma once

#include <cstdint>
#include <string>

#include "frame/host_error.h"

namespace velaqm {

struct ErrState {
    std::int32_t number = 0;
    std::string description;
    std::string source;
    std::string helpFile;
    std::int32_t helpContext = 0;

    bool IsSet() const { return number != 0; }
    friend bool operator==(const ErrState&, const ErrState&) = default;
};

// The process's pending error.
ErrState& Err();
void SetErr(const HostError& error);
void ClearErr();

// Saves the pending error when there is one and puts it back on destruction.
class ErrKeeper {
  public:
    ErrKeeper();
    ~ErrKeeper();
    ErrKeeper(const ErrKeeper&) = delete;
    ErrKeeper& operator=(const ErrKeeper&) = delete;

  private:
    bool m_saved;
    ErrState m_state;
};

}  // namespace velaqm
