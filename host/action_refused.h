// What a person cannot do at a form (click a hidden tool, type into a locked field): the
// scenario that tried it fails with this text.
#pragma once

#include <stdexcept>
#include <string>

namespace velaqm::host {

class ActionRefused : public std::runtime_error {
  public:
    explicit ActionRefused(const std::string& what) : std::runtime_error(what), m_message(what) {}
    // The whole text; what() ends at a NUL byte that typed text may hold.
    const std::string& Message() const { return m_message; }

  private:
    std::string m_message;
};

}  // namespace velaqm::host
