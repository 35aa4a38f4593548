#include "frame/err.h"

namespace velaqm {

ErrState& Err() {
    static ErrState state;
    return state;
}

void SetErr(const HostError& error) {
    Err() = ErrState{error.Number(), error.Description(), error.Source(), "", 0};
}

void ClearErr() {
    Err() = ErrState{};
}

ErrKeeper::ErrKeeper() : m_saved(Err().IsSet()), m_state(Err()) {}

ErrKeeper::~ErrKeeper() {
    if (m_saved) Err() = m_state;
}

}  // namespace velaqm
