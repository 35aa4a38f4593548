// The reader's refusals: a file that is cut short, foreign, or whose tables point outside it is
// a clear PeImageError naming the file, never a read past its bytes. What it reads from a whole
// image is checked on the server DLLs themselves (server_image_test.cpp, com/dll32_image).
#include "pe_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace velaqm::com::testing {
namespace {

// A minimal PE32 image: headers, and one section of 0x200 zero bytes at RVA 0x1000, file offset
// 0x200, where the cases point the directories.
constexpr std::size_t kOptionalHeader = 0x58;
constexpr std::size_t kDirectories = kOptionalHeader + 96;
constexpr std::size_t kSectionHeader = kOptionalHeader + 224;
constexpr std::uint32_t kSectionRva = 0x1000;
constexpr std::uint32_t kSectionData = 0x200;

void Put16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}
void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    Put16(bytes, at, static_cast<std::uint16_t>(value));
    Put16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}
void PutDirectory(std::vector<std::uint8_t>& bytes, int index, std::uint32_t rva,
                  std::uint32_t size) {
    Put32(bytes, kDirectories + 8 * index, rva);
    Put32(bytes, kDirectories + 8 * index + 4, size);
}

std::vector<std::uint8_t> MinimalImage() {
    std::vector<std::uint8_t> bytes(kSectionData + 0x200);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    Put32(bytes, 0x3c, 0x40);
    Put32(bytes, 0x40, 0x00004550);
    Put16(bytes, 0x44, kMachineI386);
    Put16(bytes, 0x46, 1);    // sections
    Put16(bytes, 0x54, 224);  // optional header size
    Put16(bytes, kOptionalHeader, kOptionalMagicPe32);
    Put32(bytes, kOptionalHeader + 92, 16);  // data directories
    Put32(bytes, kSectionHeader + 8, 0x200);
    Put32(bytes, kSectionHeader + 12, kSectionRva);
    Put32(bytes, kSectionHeader + 16, 0x200);
    Put32(bytes, kSectionHeader + 20, kSectionData);
    return bytes;
}

enum class Read { Headers, Exports, Imports, Resource };

void ReadImage(std::vector<std::uint8_t> bytes, Read what) {
    const PeImage image(std::move(bytes), "test.dll");
    if (what == Read::Exports) image.ExportNames();
    if (what == Read::Imports) image.ImportDlls();
    if (what == Read::Resource) image.Resource("TYPELIB", 1);
}

TEST(PeImageTest, RefusesAFileThatIsCutShortForeignOrPointsOutsideItself) {
    using Bytes = std::vector<std::uint8_t>;
    struct Case {
        const char* what;
        std::function<void(Bytes&)> change;
        Read read;
        std::string refusal;  // empty: the image reads
    };
    const Case cases[] = {
        {"the intact image", [](Bytes&) {}, Read::Resource, ""},
        {"an empty file", [](Bytes& b) { b.clear(); }, Read::Headers, "no MZ header"},
        {"a text file", [](Bytes& b) { b.assign(100, 'x'); }, Read::Headers, "no MZ header"},
        {"cut inside the DOS header", [](Bytes& b) { b.resize(0x30); }, Read::Headers,
         "no MZ header"},
        {"cut before the PE signature", [](Bytes& b) { b.resize(0x42); }, Read::Headers,
         "truncated: no 4 bytes at 0x40"},
        {"cut inside the optional header", [](Bytes& b) { b.resize(0x80); }, Read::Headers,
         "truncated"},
        {"cut inside the section table", [](Bytes& b) { b.resize(kSectionHeader + 12); },
         Read::Headers, "truncated"},
        {"PE header offset past the end", [](Bytes& b) { Put32(b, 0x3c, 0xfffffff0); },
         Read::Headers, "truncated"},
        {"no PE signature", [](Bytes& b) { b[0x41] = 'X'; }, Read::Headers, "no PE signature"},
        {"a ROM image's optional header", [](Bytes& b) { Put16(b, kOptionalHeader, 0x107); },
         Read::Headers, "unknown optional header magic 0x107"},
        {"more directories than the header holds",
         [](Bytes& b) { Put32(b, kOptionalHeader + 92, 17); }, Read::Headers,
         "17 data directories overrun the optional header"},
        {"export directory outside every section", [](Bytes& b) { PutDirectory(b, 0, 0x9000, 40); },
         Read::Exports, "export directory at RVA 0x9000 lies outside every section"},
        {"export directory running off its section",
         [](Bytes& b) { PutDirectory(b, 0, kSectionRva + 0x1f0, 40); }, Read::Exports,
         "runs past the end of its section"},
        {"export name table longer than its section",
         [](Bytes& b) {
             PutDirectory(b, 0, kSectionRva, 40);
             Put32(b, kSectionData + 24, 0x40000000);  // names
             Put32(b, kSectionData + 32, kSectionRva + 0x40);
         },
         Read::Exports, "export name table at RVA 0x1040 runs past the end of its section"},
        {"export name without its terminator",
         [](Bytes& b) {
             PutDirectory(b, 0, kSectionRva, 40);
             Put32(b, kSectionData + 24, 1);
             Put32(b, kSectionData + 32, kSectionRva + 0x40);
             Put32(b, kSectionData + 0x40, kSectionRva + 0x100);
             std::fill(b.begin() + kSectionData + 0x100, b.end(), 'A');
         },
         Read::Exports, "export name at RVA 0x1100 has no end in its section"},
        {"section data past the end of the file",
         [](Bytes& b) {
             PutDirectory(b, 0, kSectionRva + 0x100, 40);
             b.resize(kSectionData + 0x80);
         },
         Read::Exports, "truncated: export directory at RVA 0x1100"},
        {"import table without its closing descriptor",
         [](Bytes& b) {
             PutDirectory(b, 1, kSectionRva, 20);
             for (std::size_t at = kSectionData; at + 20 <= b.size(); at += 20)
                 Put32(b, at + 12, kSectionRva + 0x1fe);  // names the empty text at the end
         },
         Read::Imports, "import descriptor at RVA 0x11f4 runs past the end of its section"},
        {"import DLL name outside every section",
         [](Bytes& b) {
             PutDirectory(b, 1, kSectionRva, 40);
             Put32(b, kSectionData + 12, 0x7000);
         },
         Read::Imports, "import DLL name at RVA 0x7000 lies outside every section"},
        {"resource directory outside every section",
         [](Bytes& b) { PutDirectory(b, 2, 0x8000, 16); }, Read::Resource,
         "resource directory at RVA 0x8000 lies outside every section"},
        {"resource entries beyond their section",
         [](Bytes& b) {
             PutDirectory(b, 2, kSectionRva, 16);
             Put16(b, kSectionData + 14, 0xffff);
         },
         Read::Resource, "resource entries at RVA 0x1010 runs past the end of its section"},
        {"resource type name outside every section",
         [](Bytes& b) {
             PutDirectory(b, 2, kSectionRva, 16);
             Put16(b, kSectionData + 12, 1);
             Put32(b, kSectionData + 16, 0x80000000 | 0x7000);
         },
         Read::Resource, "resource name at RVA 0x8000 lies outside every section"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes bytes = MinimalImage();
        c.change(bytes);
        try {
            ReadImage(std::move(bytes), c.read);
            EXPECT_EQ(c.refusal, "") << "read without a refusal";
        } catch (const PeImageError& error) {
            const std::string message = error.what();
            EXPECT_EQ(message.rfind("test.dll: ", 0), 0u) << message;
            EXPECT_FALSE(c.refusal.empty()) << message;
            EXPECT_NE(message.find(c.refusal), std::string::npos) << message;
        }
    }
}

TEST(PeImageTest, FindsNoResourceWhereTheImageHasNone) {
    auto bytes = MinimalImage();
    EXPECT_FALSE(PeImage(bytes, "test.dll").Resource("TYPELIB", 1).has_value());
    // A resource tree whose root lists no type.
    PutDirectory(bytes, 2, kSectionRva, 16);
    EXPECT_FALSE(PeImage(bytes, "test.dll").Resource("TYPELIB", 1).has_value());
}

TEST(PeImageTest, RefusesAFileThatCannotBeOpened) {
    EXPECT_THROW(PeImage::Read("no such folder/VelaQMBillEvent.dll"), PeImageError);
}

}  // namespace
}  // namespace velaqm::com::testing
