// What the plug-ins need from the process they run in: component creation by class name and
// the few operating-system services of the library. The runtime (the COM server on Windows,
// the substitute host elsewhere) installs one Platform per process before any plug-in runs.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "frame/date.h"
#include "frame/host_error.h"
#include "frame/host_forms.h"
#include "frame/object.h"

namespace velaqm {

class Platform {
  public:
    virtual ~Platform() = default;

    // The component registered under the class name (compared without regard to case);
    // throws HostError when it cannot be created.
    virtual ObjectPtr CreateObject(std::string_view progId) = 0;

    // A message box; returns the button pressed (1 OK, 6 Yes, 7 No).
    virtual int MessageBox(std::string_view text, int flags, std::string_view title) = 0;
    // The screen's mouse pointer: 11 the hourglass, 0 the default.
    virtual void SetMousePointer(int pointer) = 0;
    // Lets pending window messages through.
    virtual void DoEvents() = 0;
    // The computer name; throws HostError when it cannot be read.
    virtual std::string ComputerName() = 0;
    virtual int ProcessId() = 0;
    // The client's clock.
    virtual Date Now() = 0;

    // The client program's own folder, where its local files live.
    virtual std::string ClientDirectory() = 0;
    // A file's attributes as the client reads them (1 read-only, 2 hidden, 32 archive, ...), or
    // nullopt when there is no such file. Paths may use "\" between folders.
    virtual std::optional<int> GetAttr(std::string_view path) = 0;
    // Throws HostError when the attributes cannot be set.
    virtual void SetAttr(std::string_view path, int attributes) = 0;

    // A picture of the library's own resources (the bitmap of that number); throws HostError
    // when the library has no such resource.
    virtual ObjectPtr LoadResPicture(int resourceId) = 0;

    // A new hidden window of the library's own, telling `events` what happens to it; `events`
    // must outlive the window.
    virtual FormWindowPtr CreateFormWindow(FormWindowEvents& events) = 0;
};

// File attributes.
inline constexpr int kFileReadOnly = 1;
inline constexpr int kFileNormal = 0;
inline constexpr int kFileArchive = 32;

// Message-box flags and answers.
inline constexpr int kMsgOkOnly = 0;
inline constexpr int kMsgInformation = 64;
inline constexpr int kMsgExclamation = 48;
inline constexpr int kMsgQuestion = 32;
inline constexpr int kMsgCritical = 16;
inline constexpr int kMsgYesNo = 4;
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

// Installs the process's platform (nullptr removes it). The caller keeps ownership.
void InstallPlatform(Platform* platform);
// The installed platform; throws HostError when none is installed.
Platform& CurrentPlatform();

// Creates a component and returns it as the contract T; throws HostError when the class cannot
// be created or does not offer T.
template <class T>
std::shared_ptr<T> CreateObject(std::string_view progId) {
    ObjectPtr object = CurrentPlatform().CreateObject(progId);
    auto typed = std::dynamic_pointer_cast<T>(object);
    if (!typed && object) typed = std::dynamic_pointer_cast<T>(object->AsContract(typeid(T)));
    if (!typed)
        throw HostError(kErrCannotCreate, std::string(progId),
                        "ActiveX component can't create object: " + std::string(progId));
    return typed;
}

}  // namespace velaqm
