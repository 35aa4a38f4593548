// The value that travels between the host and the plug-ins: an automation VARIANT in C++.
#pragma once

#include <concepts>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "frame/date.h"
#include "frame/decimal.h"
#include "frame/object.h"

namespace velaqm {

enum class VarType { Empty, Null, Boolean, Long, Double, Decimal, String, Date, Object };

struct NullValue {
    friend bool operator==(NullValue, NullValue) = default;
};
inline constexpr NullValue kNull{};

class Variant {
  public:
    Variant() = default;  // Empty
    // Out of line on purpose: g++ 12 at -O2 takes the inlined std::variant moves for reads of an
    // uninitialised string (-Wmaybe-uninitialized) wherever a Variant is pushed into a vector.
    Variant(const Variant& other);
    Variant(Variant&& other) noexcept;
    Variant& operator=(const Variant& other);
    Variant& operator=(Variant&& other) noexcept;
    ~Variant();
    Variant(NullValue) : m_value(NullValue{}) {}
    Variant(bool value) : m_value(value) {}
    template <std::integral T>
    requires(!std::same_as<T, bool>) Variant(T value) {
        if (std::in_range<std::int32_t>(value))
            m_value = static_cast<std::int32_t>(value);
        else
            m_value = static_cast<double>(value);
    }
    Variant(double value) : m_value(value) {}
    Variant(Decimal value) : m_value(value) {}
    Variant(std::string value) : m_value(std::move(value)) {}
    Variant(std::string_view value) : m_value(std::string(value)) {}
    Variant(const char* value) : m_value(std::string(value)) {}
    Variant(Date value) : m_value(value) {}
    Variant(ObjectPtr value) : m_value(std::move(value)) {}
    template <std::derived_from<Object> T>
    Variant(std::shared_ptr<T> value) : m_value(ObjectPtr(std::move(value))) {}

    // An object reference to nothing (VB's Nothing), as opposed to Empty.
    static Variant Nothing() { return Variant(ObjectPtr()); }

    VarType Type() const { return static_cast<VarType>(m_value.index()); }
    bool IsEmpty() const { return Type() == VarType::Empty; }
    bool IsNull() const { return Type() == VarType::Null; }
    bool IsObject() const { return Type() == VarType::Object; }
    bool IsNothing() const { return IsObject() && !std::get<ObjectPtr>(m_value); }
    bool IsString() const { return Type() == VarType::String; }
    bool IsNumber() const;  // Boolean, Long, Double or Decimal

    // Exact access: throws HostError 13 ("Type mismatch") when the kind differs.
    bool AsBool() const;
    std::int32_t AsLong() const;
    double AsDouble() const;
    const Decimal& AsDecimal() const;
    const std::string& AsString() const;
    const Date& AsDate() const;
    const ObjectPtr& AsObject() const;

    // The held object as T, or null when the value is no object or an object that is no T and
    // cannot stand in for one (Object::AsContract).
    template <class T>
    std::shared_ptr<T> ObjectAs() const {
        if (!IsObject()) return nullptr;
        const ObjectPtr& object = std::get<ObjectPtr>(m_value);
        if (auto typed = std::dynamic_pointer_cast<T>(object)) return typed;
        return object ? std::dynamic_pointer_cast<T>(object->AsContract(typeid(T))) : nullptr;
    }

    // Same kind and same value; objects by identity.
    friend bool operator==(const Variant& a, const Variant& b);

  private:
    std::variant<std::monostate, NullValue, bool, std::int32_t, double, Decimal, std::string, Date,
                 ObjectPtr>
        m_value;
};

}  // namespace velaqm
