// The login context of the process: the property string ("SubID", "UserID", "UserName",
// "ConnectString", "Language") and the login object that grants network tasks. Nothing is
// kept: every use asks the host again.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "frame/host_services.h"
#include "frame/variant.h"

namespace velaqm {

// A shared value of the current process from VelaProps.ShareProps: an object when the host
// stores one, otherwise the plain value.
Variant GetSharedProperty(std::string_view name);
std::string GetPropsString();
// The login object ("CVLogin"); throws HostError when the host holds none.
std::shared_ptr<LoginObject> GetLoginObject();

// The value of a key in the property string; "" when absent.
std::string GetPropValue(std::string_view key);
// The quick reader used for "Language".
std::string GetPropValueSimple(std::string_view key);

// The readers over a given property string.
std::string ReadPropValue(std::string_view propsString, std::string_view key);
std::string ReadPropValueSimple(std::string_view propsString, std::string_view key);

// A parsed copy of a property string. Reading a key that is not in it is an error.
class ParsedProps {
  public:
    bool ParsePropsString(std::string_view text);
    std::string ParsedUserName() const;
    int ParsedUserID() const;
    std::string ParsedConnectString() const;
    const std::string& Text() const { return m_text; }

  private:
    const std::string& Value(std::string_view key) const;

    std::string m_text;
    std::map<std::string, std::string> m_values;  // by upper-cased key
};

// A new rights checker and action log (VelaGLView.GLData).
std::shared_ptr<GLData> NewAccessChecker();

}  // namespace velaqm
