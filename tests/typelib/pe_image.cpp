#include "pe_image.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <utility>

namespace velaqm::com::testing {
namespace {

// Offsets of the PE format's fields used here.
constexpr std::uint64_t kDosHeaderSize = 64;
constexpr std::uint64_t kPeHeaderOffsetField = 0x3c;
constexpr std::uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
constexpr std::uint64_t kFileHeaderSize = 20;
constexpr std::uint64_t kSectionHeaderSize = 40;
constexpr std::uint64_t kExportDirectorySize = 40;
constexpr std::uint64_t kImportDescriptorSize = 20;
constexpr std::uint64_t kResourceDirectorySize = 16;
constexpr std::uint64_t kResourceEntrySize = 8;
constexpr std::uint32_t kResourceHighBit = 0x80000000;

std::string Hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
    return text;
}

bool SameLetters(char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
}

}  // namespace

PeImage PeImage::Read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    if (!in) throw PeImageError(file.string() + ": cannot be opened");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
        throw PeImageError(file.string() + ": cannot be read");
    return PeImage(std::move(bytes), file.string());
}

PeImage::PeImage(std::vector<std::uint8_t> bytes, std::string name)
    : m_bytes(std::move(bytes)), m_name(std::move(name)) {
    if (m_bytes.size() < kDosHeaderSize || m_bytes[0] != 'M' || m_bytes[1] != 'Z')
        Fail("not a PE file: no MZ header");
    const std::uint64_t pe = U32(kPeHeaderOffsetField);
    if (U32(pe) != kPeSignature) Fail("not a PE file: no PE signature at " + Hex(pe));

    const std::uint64_t fileHeader = pe + 4;
    m_machine = U16(fileHeader);
    const std::uint16_t sectionCount = U16(fileHeader + 2);
    const std::uint16_t optionalSize = U16(fileHeader + 16);

    const std::uint64_t optional = fileHeader + kFileHeaderSize;
    m_magic = U16(optional);
    // Where the count of data directories and the directories themselves sit differs between
    // PE32 and PE32+ (whose image base and stack sizes are 64-bit).
    std::uint64_t countField = 0;
    if (m_magic == kOptionalMagicPe32)
        countField = 92;
    else if (m_magic == kOptionalMagicPe32Plus)
        countField = 108;
    else
        Fail("unknown optional header magic " + Hex(m_magic));
    const std::uint64_t directories = countField + 4;
    if (optionalSize < directories) Fail("optional header too short: " + Hex(optionalSize));
    const std::uint32_t directoryCount = U32(optional + countField);
    if (directoryCount > (optionalSize - directories) / 8)
        Fail(std::to_string(directoryCount) + " data directories overrun the optional header");
    for (std::uint32_t i = 0; i < directoryCount; ++i)
        m_directories.push_back(
            {U32(optional + directories + 8 * i), U32(optional + directories + 8 * i + 4)});

    const std::uint64_t sectionTable = optional + optionalSize;
    for (std::uint16_t i = 0; i < sectionCount; ++i) {
        const std::uint64_t header = sectionTable + kSectionHeaderSize * i;
        m_sections.push_back({U32(header + 12), U32(header + 16), U32(header + 20)});
    }
}

std::vector<std::string> PeImage::ExportNames() const {
    const Directory directory = DirectoryAt(kExports);
    std::vector<std::string> names;
    if (directory.size == 0) return names;
    const std::uint64_t table = OffsetOf(directory.rva, kExportDirectorySize, "export directory");
    const std::uint32_t count = U32(table + 24);
    const std::uint64_t nameRvas =
        OffsetOf(U32(table + 32), std::uint64_t{4} * count, "export name table");
    for (std::uint32_t i = 0; i < count; ++i)
        names.push_back(TextAt(U32(nameRvas + 4 * i), "export name"));
    return names;
}

std::vector<std::string> PeImage::ImportDlls() const {
    const Directory directory = DirectoryAt(kImports);
    std::vector<std::string> dlls;
    if (directory.size == 0) return dlls;
    // The table ends with a descriptor that names no DLL; a table running off its section without
    // one is refused.
    for (std::uint64_t rva = directory.rva;; rva += kImportDescriptorSize) {
        const std::uint64_t descriptor = OffsetOf(rva, kImportDescriptorSize, "import descriptor");
        const std::uint32_t nameRva = U32(descriptor + 12);
        if (nameRva == 0 && U32(descriptor + 16) == 0) return dlls;
        dlls.push_back(TextAt(nameRva, "import DLL name"));
    }
}

std::optional<std::vector<std::uint8_t>> PeImage::Resource(std::string_view type,
                                                           std::uint16_t id) const {
    const Directory directory = DirectoryAt(kResources);
    if (directory.size == 0) return std::nullopt;
    const std::uint32_t root = directory.rva;
    // Three levels: type, then name or id, then language. Offsets are from the root; an entry
    // with the high bit set leads to a further directory, one without it to the data.
    const auto subdirectory = [&](std::uint32_t entry, const char* level) {
        if (!(entry & kResourceHighBit))
            Fail(std::string("resource ") + level + " entry leads to data, not a directory");
        return std::uint64_t{root} + (entry & ~kResourceHighBit);
    };
    const auto typeEntry = ResourceEntry(root, [&](std::uint32_t nameOrId) {
        return (nameOrId & kResourceHighBit) &&
               ResourceNameIs(std::uint64_t{root} + (nameOrId & ~kResourceHighBit), type);
    });
    if (!typeEntry) return std::nullopt;
    const auto idEntry = ResourceEntry(subdirectory(*typeEntry, "type"),
                                       [&](std::uint32_t nameOrId) { return nameOrId == id; });
    if (!idEntry) return std::nullopt;
    const auto languageEntry =
        ResourceEntry(subdirectory(*idEntry, "name"), [](std::uint32_t) { return true; });
    if (!languageEntry) return std::nullopt;
    if (*languageEntry & kResourceHighBit)
        Fail("resource language entry leads to a directory, not data");

    const std::uint64_t data =
        OffsetOf(std::uint64_t{root} + *languageEntry, 16, "resource data entry");
    const std::uint32_t size = U32(data + 4);
    const std::uint64_t bytes = OffsetOf(U32(data), size, "resource data");
    return std::vector<std::uint8_t>(m_bytes.begin() + static_cast<std::ptrdiff_t>(bytes),
                                     m_bytes.begin() + static_cast<std::ptrdiff_t>(bytes + size));
}

void PeImage::Fail(const std::string& why) const {
    throw PeImageError(m_name + ": " + why);
}

std::uint16_t PeImage::U16(std::uint64_t offset) const {
    if (offset > m_bytes.size() || m_bytes.size() - offset < 2)
        Fail("truncated: no 2 bytes at " + Hex(offset) + " of " + Hex(m_bytes.size()));
    return static_cast<std::uint16_t>(m_bytes[offset] | m_bytes[offset + 1] << 8);
}

std::uint32_t PeImage::U32(std::uint64_t offset) const {
    if (offset > m_bytes.size() || m_bytes.size() - offset < 4)
        Fail("truncated: no 4 bytes at " + Hex(offset) + " of " + Hex(m_bytes.size()));
    return static_cast<std::uint32_t>(m_bytes[offset]) |
           static_cast<std::uint32_t>(m_bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(m_bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(m_bytes[offset + 3]) << 24;
}

const PeImage::Section& PeImage::SectionOf(std::uint64_t rva, const char* what) const {
    for (const Section& section : m_sections)
        if (rva >= section.rva && rva - section.rva < section.rawSize) return section;
    Fail(std::string(what) + " at RVA " + Hex(rva) + " lies outside every section");
}

std::uint64_t PeImage::OffsetOf(std::uint64_t rva, std::uint64_t length, const char* what) const {
    const Section& section = SectionOf(rva, what);
    const std::uint64_t inSection = rva - section.rva;
    if (length > section.rawSize - inSection)
        Fail(std::string(what) + " at RVA " + Hex(rva) + " runs past the end of its section");
    const std::uint64_t offset = std::uint64_t{section.fileOffset} + inSection;
    if (offset > m_bytes.size() || length > m_bytes.size() - offset)
        Fail(std::string("truncated: ") + what + " at RVA " + Hex(rva) + " lies past " +
             Hex(m_bytes.size()));
    return offset;
}

std::string PeImage::TextAt(std::uint32_t rva, const char* what) const {
    // The text and its terminator lie in the section where it starts.
    const Section& section = SectionOf(rva, what);
    const std::uint64_t room = section.rawSize - (rva - section.rva);
    const std::uint64_t start = OffsetOf(rva, 1, what);
    std::string text;
    for (std::uint64_t i = 0; i < room; ++i) {
        if (start + i >= m_bytes.size())
            Fail(std::string("truncated: ") + what + " at RVA " + Hex(rva));
        if (m_bytes[start + i] == 0) return text;
        text.push_back(static_cast<char>(m_bytes[start + i]));
    }
    Fail(std::string(what) + " at RVA " + Hex(rva) + " has no end in its section");
}

PeImage::Directory PeImage::DirectoryAt(DirectoryIndex index) const {
    return static_cast<std::size_t>(index) < m_directories.size() ? m_directories[index]
                                                                  : Directory{};
}

template <class Match>
std::optional<std::uint32_t> PeImage::ResourceEntry(std::uint64_t directoryRva,
                                                    Match matches) const {
    const std::uint64_t header =
        OffsetOf(directoryRva, kResourceDirectorySize, "resource directory");
    const std::uint64_t count = std::uint64_t{U16(header + 12)} + U16(header + 14);
    const std::uint64_t entries = OffsetOf(directoryRva + kResourceDirectorySize,
                                           kResourceEntrySize * count, "resource entries");
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t entry = entries + kResourceEntrySize * i;
        if (matches(U32(entry))) return U32(entry + 4);
    }
    return std::nullopt;
}

bool PeImage::ResourceNameIs(std::uint64_t nameRva, std::string_view name) const {
    // A counted UTF-16 string; the names compared here are ASCII.
    const std::uint64_t length = U16(OffsetOf(nameRva, 2, "resource name"));
    const std::uint64_t chars = OffsetOf(nameRva + 2, 2 * length, "resource name");
    if (length != name.size()) return false;
    for (std::uint64_t i = 0; i < length; ++i) {
        const std::uint16_t c = U16(chars + 2 * i);
        if (c > 0x7f || !SameLetters(static_cast<char>(c), name[i])) return false;
    }
    return true;
}

}  // namespace velaqm::com::testing
