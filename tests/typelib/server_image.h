// What every build of VelaQMBillEvent.dll must show when read as a file, whatever its platform:
// the four entry points exported under their plain names, nothing imported beside Windows itself,
// and the type library embedded. Shared by the 64-bit suite and com/dll32_image, which reads the
// 32-bit DLL.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "pe_image.h"

namespace velaqm::com::testing {

// The 64-bit DLL, built beside the test programs.
std::filesystem::path DllBesideProgram();

// The imported DLLs that are not part of Windows, as the image names them.
std::vector<std::string> ForeignImports(const std::vector<std::string>& dlls);

// Machine, optional header, exports, imports and the embedded type library of a server DLL, as
// GoogleTest expectations.
void ExpectServerImage(const PeImage& image, std::uint16_t machine, std::uint16_t optionalMagic);

// Every type of a type library by name: its kind and GUID.
struct TypeIdentity {
    TYPEKIND kind;
    std::string guid;
    bool operator==(const TypeIdentity&) const = default;
};
void PrintTo(const TypeIdentity& type, std::ostream* out);
std::map<std::string, TypeIdentity> TypesOf(ITypeLib& library);

}  // namespace velaqm::com::testing
