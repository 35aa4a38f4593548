// Base of every object a Variant can hold: host objects, dictionaries, vectors, recordsets.
#pragma once

#include <memory>
#include <string>
#include <typeinfo>

namespace velaqm {

class Object {
  public:
    virtual ~Object() = default;
    // The name the host reports for the object's type ("BillEvent", "ListEvents", "Dictionary").
    virtual std::string TypeName() const = 0;
    // An object known only by its member names (a host object reached late-bound) stands in for
    // whatever contract it is used as, as VB lets such an object fill a typed variable; its
    // members fail only when called. Every other object answers null.
    virtual std::shared_ptr<Object> AsContract(const std::type_info& contract) const {
        (void)contract;
        return nullptr;
    }
};

using ObjectPtr = std::shared_ptr<Object>;

}  // namespace velaqm
