// Base of every object a Variant can hold: host objects, dictionaries, vectors, recordsets.
#pragma once

#include <memory>
#include <string>

namespace velaqm {

class Object {
  public:
    virtual ~Object() = default;
    // The name the host reports for the object's type ("BillEvent", "ListEvents", "Dictionary").
    virtual std::string TypeName() const = 0;
};

using ObjectPtr = std::shared_ptr<Object>;

}  // namespace velaqm
