// Values between automation VARIANTs and the plug-ins' Variant. Objects coming in go through the
// host adapters; every other VARIANT the host or a script may pass maps to one Variant kind.
#pragma once

#include <oaidl.h>

#include "frame/variant.h"
#include "typelib/com_raii.h"

namespace velaqm::com {

// References are followed; a missing optional argument reads as Empty. Throws HostError 13
// ("Type mismatch") for arrays, error codes and other kinds no plug-in value can hold.
velaqm::Variant FromVariant(const VARIANT& value);

// The host's IDispatch in a VARIANT that holds a host object by value: an object that is
// neither Nothing nor one of the library's own faces. Null for anything else, which FromVariant
// then reads.
ComPtr<IDispatch> HostObjectIn(const VARIANT& value);

// A host object goes back as its own IDispatch, a dictionary or vector the plug-in made as its
// COM face (typelib/local_dispatch.h); any other object is a type mismatch (HostError 13).
com::Variant ToVariant(const velaqm::Variant& value);

}  // namespace velaqm::com
