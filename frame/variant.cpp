#include "frame/variant.h"

#include "frame/host_error.h"

namespace velaqm {

namespace {

template <class T, class Held>
const T& Exactly(const Held& held) {
    if (const T* value = std::get_if<T>(&held)) return *value;
    throw HostError(kErrTypeMismatch, "", "Type mismatch");
}

}  // namespace

Variant::Variant(const Variant& other) = default;
Variant::Variant(Variant&& other) noexcept = default;
Variant& Variant::operator=(const Variant& other) = default;
Variant& Variant::operator=(Variant&& other) noexcept = default;
Variant::~Variant() = default;

bool Variant::IsNumber() const {
    switch (Type()) {
        case VarType::Boolean:
        case VarType::Long:
        case VarType::Double:
        case VarType::Decimal:
            return true;
        default:
            return false;
    }
}

bool Variant::AsBool() const {
    return Exactly<bool>(m_value);
}
std::int32_t Variant::AsLong() const {
    return Exactly<std::int32_t>(m_value);
}
double Variant::AsDouble() const {
    return Exactly<double>(m_value);
}
const Decimal& Variant::AsDecimal() const {
    return Exactly<Decimal>(m_value);
}
const std::string& Variant::AsString() const {
    return Exactly<std::string>(m_value);
}
const Date& Variant::AsDate() const {
    return Exactly<Date>(m_value);
}
const ObjectPtr& Variant::AsObject() const {
    return Exactly<ObjectPtr>(m_value);
}

// std::variant compares the alternative first, then the values; shared_ptr compares pointers.
bool operator==(const Variant& a, const Variant& b) {
    return a.m_value == b.m_value;
}

}  // namespace velaqm
