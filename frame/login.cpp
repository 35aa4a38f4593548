#include "frame/login.h"

#include <algorithm>
#include <cctype>

#include "frame/convert.h"
#include "frame/platform.h"
#include "frame/text_util.h"

namespace velaqm {

namespace {

// Splits the rest at the first separator: returns the part before it and keeps the part after
// it; without a separator the whole rest is returned and the rest becomes "".
std::string SplitFirst(std::string& rest, char separator) {
    const auto at = rest.find(separator);
    std::string first = rest.substr(0, at);
    rest = at == std::string::npos ? std::string() : rest.substr(at + 1);
    return first;
}

// One pass over the property string: the next key and its value.
struct PropEntry {
    std::string key;
    std::string value;
};

PropEntry NextEntry(std::string& rest) {
    PropEntry entry;
    entry.key = Trim(SplitFirst(rest, '='));
    rest = Trim(rest);
    if (!rest.empty() && rest.front() == '{') {
        rest.erase(0, 1);
        entry.value = SplitFirst(rest, '}');
        SplitFirst(rest, ';');
    } else {
        entry.value = SplitFirst(rest, ';');
    }
    entry.value = Trim(entry.value);
    return entry;
}

}  // namespace

Variant GetSharedProperty(std::string_view name) {
    auto props = CreateObject<ShareProps>(progid::kShareProps);
    return props->GetProperty(name, CurrentPlatform().ProcessId());
}

std::string GetPropsString() {
    return Text(GetSharedProperty("PropsString"));
}

std::shared_ptr<LoginObject> GetLoginObject() {
    auto login = GetSharedProperty("CVLogin").ObjectAs<LoginObject>();
    if (!login) throw HostError(kErrObjectRequired, "VelaProps.ShareProps", "Object required");
    return login;
}

std::string GetPropValue(std::string_view key) {
    return ReadPropValue(GetPropsString(), key);
}

std::string GetPropValueSimple(std::string_view key) {
    return ReadPropValueSimple(GetPropsString(), key);
}

std::string ReadPropValue(std::string_view propsString, std::string_view key) {
    const std::string wanted = UpperAscii(key);
    std::string rest(propsString);
    for (PropEntry entry = NextEntry(rest); !entry.key.empty(); entry = NextEntry(rest))
        if (UpperAscii(entry.key) == wanted) return entry.value;
    // Also when a malformed string ends the search at an entry without a key ("=value").
    return "";
}

std::string ReadPropValueSimple(std::string_view propsString, std::string_view key) {
    std::string props(propsString);
    if (props.empty() || props.back() != ';') props += ';';
    const std::string needle = UpperAscii(key) + "=";
    const auto at = UpperAscii(props).find(needle);
    if (at == std::string::npos) return "";
    const std::string from = props.substr(at);
    return from.substr(needle.size(), from.find(';') - needle.size());
}

bool ParsedProps::ParsePropsString(std::string_view text) {
    m_text = std::string(text);
    m_values.clear();
    std::string rest = m_text;
    for (PropEntry entry = NextEntry(rest); !entry.key.empty(); entry = NextEntry(rest))
        m_values.try_emplace(UpperAscii(entry.key), entry.value);
    return true;
}

const std::string& ParsedProps::Value(std::string_view key) const {
    const auto found = m_values.find(UpperAscii(key));
    if (found == m_values.end())
        throw HostError(kErrInvalidCall, "VelaQMBillEvent", "Invalid procedure call or argument");
    return found->second;
}

std::string ParsedProps::ParsedUserName() const {
    return Value("UserName");
}

int ParsedProps::ParsedUserID() const {
    return static_cast<int>(WholeNumber(Variant(Value("UserID"))));
}

std::string ParsedProps::ParsedConnectString() const {
    return Value("ConnectString");
}

std::shared_ptr<GLData> NewAccessChecker() {
    return CreateObject<GLData>(progid::kGLData);
}

}  // namespace velaqm
