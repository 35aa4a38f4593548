// Members of the test host's objects as a script sees them: one call with its arguments in
// reading order (references followed), a result slot and a failure that reaches the caller as
// DISP_E_EXCEPTION. A property write is told from a read by its one extra argument.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <cstddef>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "fake_host.h"
#include "typelib/com_raii.h"

namespace velaqm::testhost {

using com::Bstr;
using com::ComPtr;

// A failure the caller sees as the member's error, with this description.
class ScriptError : public std::runtime_error {
  public:
    explicit ScriptError(const std::string& what) : std::runtime_error(what) {}
};

class Call {
  public:
    Call(std::span<VARIANT*> args, VARIANT* result) : m_args(args), m_result(result) {}

    std::size_t Count() const { return m_args.size(); }
    // The argument with references followed; Empty past the last one.
    const VARIANT& Value(std::size_t index) const;
    std::wstring Text(std::size_t index) const;
    LONG Long(std::size_t index) const;
    bool Bool(std::size_t index) const;
    ComPtr<IDispatch> Object(std::size_t index) const;
    // Writes a by-reference argument back (VT_BYREF|VT_VARIANT or VT_BYREF|VT_BSTR).
    void WriteBack(std::size_t index, std::wstring_view text) const;

    void Return(LONG value) const;
    void Return(bool value) const;
    void Return(std::wstring_view text) const;
    void Return(IDispatch* object) const;
    void Return(const VARIANT& value) const;

  private:
    std::span<VARIANT*> m_args;
    VARIANT* m_result;
};

using Member = std::function<void(Call&)>;

// A new object of the test host with no members yet and no type information.
ComPtr<com::testing::FakeHostObject> NewScriptObject();
using com::testing::AsDispatch;

// Adds a member under the next free DISPID; "Item" is also the default member (DISPID_VALUE).
void AddMember(com::testing::FakeHostObject& object, std::wstring name, Member member);

// A late-bound property read and write on any object, as a script does them: object.Item(key).
com::Variant GetItem(IDispatch* object, std::wstring_view key);
void PutItem(IDispatch* object, std::wstring_view key, const VARIANT& value);
// A property read with no arguments: object.Name.
com::Variant GetProperty(IDispatch* object, std::wstring_view name);

com::Variant TextValue(std::wstring_view text);
com::Variant LongValue(LONG value);
std::wstring TextOf(const VARIANT& value);

}  // namespace velaqm::testhost
