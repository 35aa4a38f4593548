// The server DLL read as a file rather than loaded: its machine, the kind of its optional header,
// its export and import names and a resource's bytes. The 32-bit DLL cannot be loaded on a
// machine whose kernel refuses 32-bit code, so its tests read it this way. Every offset the file
// gives is checked against the file: a truncated or foreign file is refused with PeImageError.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace velaqm::com::testing {

class PeImageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::uint16_t kMachineI386 = 0x14c;
inline constexpr std::uint16_t kMachineAmd64 = 0x8664;
inline constexpr std::uint16_t kOptionalMagicPe32 = 0x10b;
inline constexpr std::uint16_t kOptionalMagicPe32Plus = 0x20b;

class PeImage {
  public:
    // Reads the whole file and checks its headers; `name` labels every error message.
    static PeImage Read(const std::filesystem::path& file);
    PeImage(std::vector<std::uint8_t> bytes, std::string name);

    std::uint16_t Machine() const { return m_machine; }
    std::uint16_t OptionalMagic() const { return m_magic; }
    // Exports by name, in the order of the name table (sorted, as the loader's lookup needs).
    std::vector<std::string> ExportNames() const;
    // The DLL names of the import table, as written there.
    std::vector<std::string> ImportDlls() const;
    // Resource `id` of the type named `type` (compared without regard to case, as FindResource
    // does), in its first language; none when the file has no such resource.
    std::optional<std::vector<std::uint8_t>> Resource(std::string_view type,
                                                      std::uint16_t id) const;

  private:
    struct Section {
        std::uint32_t rva;
        std::uint32_t rawSize;
        std::uint32_t fileOffset;
    };
    struct Directory {
        std::uint32_t rva = 0;
        std::uint32_t size = 0;
    };
    enum DirectoryIndex { kExports = 0, kImports = 1, kResources = 2 };

    [[noreturn]] void Fail(const std::string& why) const;
    // Little-endian fields at a file offset.
    std::uint16_t U16(std::uint64_t offset) const;
    std::uint32_t U32(std::uint64_t offset) const;
    const Section& SectionOf(std::uint64_t rva, const char* what) const;
    // The file offset of `length` bytes at `rva`, which must lie in one section's data.
    std::uint64_t OffsetOf(std::uint64_t rva, std::uint64_t length, const char* what) const;
    std::string TextAt(std::uint32_t rva, const char* what) const;
    Directory DirectoryAt(DirectoryIndex index) const;
    // The target of the entry of a resource directory that `matches`; the entry's offset word,
    // or none when no entry matches.
    template <class Match>
    std::optional<std::uint32_t> ResourceEntry(std::uint64_t directoryRva, Match matches) const;
    bool ResourceNameIs(std::uint64_t nameRva, std::string_view name) const;

    std::vector<std::uint8_t> m_bytes;
    std::string m_name;
    std::uint16_t m_machine = 0;
    std::uint16_t m_magic = 0;
    std::vector<Directory> m_directories;
    std::vector<Section> m_sections;
};

}  // namespace velaqm::com::testing
