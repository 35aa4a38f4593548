// The error every host contract throws: the automation error triple.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace velaqm {

class HostError : public std::runtime_error {
  public:
    HostError(std::int32_t number, std::string source, std::string description)
        : std::runtime_error(description),
          m_number(number),
          m_source(std::move(source)),
          m_description(std::move(description)) {}

    std::int32_t Number() const { return m_number; }
    const std::string& Source() const { return m_source; }
    const std::string& Description() const { return m_description; }

  private:
    std::int32_t m_number;
    std::string m_source;
    std::string m_description;
};

// Numbers of the run-time errors the frame raises itself.
inline constexpr std::int32_t kErrOverflow = 6;
inline constexpr std::int32_t kErrSubscript = 9;
inline constexpr std::int32_t kErrTypeMismatch = 13;
inline constexpr std::int32_t kErrCannotCreate = 429;
inline constexpr std::int32_t kErrNoSuchMember = 438;
inline constexpr std::int32_t kErrObjectRequired = 424;
inline constexpr std::int32_t kErrObjectNotSet = 91;
inline constexpr std::int32_t kErrInvalidCall = 5;
inline constexpr std::int32_t kErrFileNotFound = 53;
inline constexpr std::int32_t kErrPermissionDenied = 70;
inline constexpr std::int32_t kErrInvalidUseOfNull = 94;
inline constexpr std::int32_t kErrResourceNotFound = 326;

}  // namespace velaqm
