// The platform of the plug-ins inside the ERP client: components created by ProgID through COM
// and wrapped in their adapters, Windows message boxes, the screen pointer, the computer name,
// the process ID and the local clock.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "frame/platform.h"
#include "typelib/name_table.h"

namespace velaqm::com {

class ComPlatform final : public Platform {
  public:
    explicit ComPlatform(NameTable names) : m_names(std::move(names)) {}

    ObjectPtr CreateObject(std::string_view progId) override;
    int MessageBox(std::string_view text, int flags, std::string_view title) override;
    void SetMousePointer(int pointer) override;
    void DoEvents() override;
    std::string ComputerName() override;
    int ProcessId() override;
    Date Now() override;
    std::string ClientDirectory() override;
    std::optional<int> GetAttr(std::string_view path) override;
    void SetAttr(std::string_view path, int attributes) override;
    ObjectPtr LoadResPicture(int resourceId) override;
    FormWindowPtr CreateFormWindow(FormWindowEvents& events) override;

    const NameTable& Names() const { return m_names; }

  private:
    NameTable m_names;
};

// The process's platform, installed on first use with the name table beside the DLL
// (`VelaQMBillEvent.names`); the adapters read their member names from it.
ComPlatform& EnsureComPlatform();

}  // namespace velaqm::com
