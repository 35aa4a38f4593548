// The host's Dictionary and Vector of the test host: a dictionary with keys in insertion order
// that match in any letter case, and a vector indexed from 1.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "typelib/com_raii.h"

namespace velaqm::testhost {

using Entries = std::vector<std::pair<std::wstring, com::Variant>>;

com::ComPtr<IDispatch> NewDictionary(Entries entries = {});
// A dictionary over entries the caller keeps too: what is written into it stays there.
com::ComPtr<IDispatch> NewDictionary(std::shared_ptr<Entries> entries);
com::ComPtr<IDispatch> NewVector(std::vector<com::Variant> items);
// A vector over items the caller keeps too: what is written into it or cleared shows there.
com::ComPtr<IDispatch> NewVector(std::shared_ptr<std::vector<com::Variant>> items);

com::Variant ObjectValue(IDispatch* object);

}  // namespace velaqm::testhost
