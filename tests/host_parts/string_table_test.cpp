#include "host/parts/string_table.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "frame/host_error.h"
#include "frame/text_util.h"

namespace velaqm::host {
namespace {

namespace fs = std::filesystem;

const fs::path kRoot = fs::path(__FILE__).parent_path().parent_path().parent_path();

// A directory of its own for one test, removed with everything in it.
class ScratchDir {
  public:
    ScratchDir() {
        static std::atomic<int> counter{0};
        m_path = fs::temp_directory_path() /
                 ("velaqm_strings_" +
                  std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) +
                  "_" + std::to_string(++counter));
        fs::create_directories(m_path);
    }
    ~ScratchDir() {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const fs::path& Path() const { return m_path; }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(m_path / name, std::ios::binary) << text;
    }

  private:
    fs::path m_path;
};

// Chinese characters and the full-width punctuation that comes with them: none may be left in
// an English text.
bool HasChineseCharacters(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if ((lead & 0xF0) != 0xE0 || i + 2 >= text.size()) continue;
        const auto b1 = static_cast<unsigned char>(text[i + 1]);
        const auto b2 = static_cast<unsigned char>(text[i + 2]);
        const unsigned code = ((lead & 0x0Fu) << 12) | ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu);
        if ((code >= 0x3000 && code <= 0x303F) || (code >= 0x3400 && code <= 0x9FFF) ||
            (code >= 0xFF00 && code <= 0xFFEF))
            return true;
    }
    return false;
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The string literals of C++ source text, comments and character literals skipped.
std::vector<std::string> StringLiterals(std::string_view code) {
    std::vector<std::string> literals;
    for (std::size_t i = 0; i < code.size(); ++i) {
        if (code.substr(i, 2) == "//") {
            i = code.find('\n', i);
            if (i == std::string_view::npos) break;
        } else if (code.substr(i, 2) == "/*") {
            i = code.find("*/", i + 2);
            if (i == std::string_view::npos) break;
            ++i;
        } else if (code[i] == '\'' || code[i] == '"') {
            const char quote = code[i];
            std::string literal;
            for (++i; i < code.size() && code[i] != quote; ++i) {
                if (code[i] == '\\') ++i;
                literal += code[i];
            }
            if (quote == '"') literals.push_back(literal);
        }
    }
    return literals;
}

const std::string kTable =
    "\xEF\xBB\xBF# test table\r\n"
    "\r\n"
    "审核\tAudit\r\n"
    "   # indented comment\n"
    "反审核\tUn-audit\n";

TEST(StringTable, TranslatesKnownTextsAndPassesEverythingElseThrough) {
    const StringTable en = StringTable::Parse(kTable, "en", "test.tsv");
    EXPECT_EQ(en.Entries().size(), 2u);
    EXPECT_EQ(en.Lookup("审核"), "Audit");
    EXPECT_EQ(en.Lookup("反审核"), "Un-audit");
    EXPECT_EQ(en.Lookup("公式"), "公式");
    EXPECT_EQ(en.Lookup(" 审核"), " 审核");

    const StringTable chs = StringTable::Parse(kTable, "CHS", "test.tsv");
    EXPECT_EQ(chs.Lookup("审核"), "审核");
    EXPECT_EQ(StringTable().Lookup("审核"), "审核");
}

TEST(StringTable, MalformedLinesAreReportedWithFileAndLine) {
    const struct {
        const char* text;
        const char* where;
        const char* what;
    } cases[] = {
        {"审核\tAudit\n反审核 Un-audit\n", "t.tsv:2:", "no tab"},
        {"审核\tAudit\tAgain\n", "t.tsv:1:", "more than one tab"},
        {"# head\n\n审核\t\n", "t.tsv:3:", "no translation"},
        {"审核\t  \n", "t.tsv:1:", "no translation"},
        {"审核 \tAudit\n", "t.tsv:1:", "blanks around the source"},
        {"\tAudit\n", "t.tsv:1:", "no source text"},
        {"审核\tAudit \n", "t.tsv:1:", "blanks around the translation"},
        {"审核\tAudit\n公式\tFormula\n审核\tCheck\n", "t.tsv:3:", "already on line 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            StringTable::Parse(c.text, "en", "t.tsv");
            ADD_FAILURE() << "accepted";
        } catch (const HostError& error) {
            EXPECT_EQ(error.Number(), kErrBadTable);
            EXPECT_TRUE(error.Description().starts_with(c.where)) << error.Description();
            EXPECT_NE(error.Description().find(c.what), std::string::npos) << error.Description();
        }
    }
}

TEST(StringTable, LoadsTheLanguagesFileAndNeedsNoneForTheSourceLanguage) {
    const ScratchDir dir;
    dir.Write("Base.en.tsv", kTable);
    dir.Write("Base.xx.tsv", "审核\n");

    EXPECT_EQ(StringTable::Load(dir.Path(), "Base", "EN").Lookup("审核"), "Audit");
    EXPECT_EQ(StringTable::Load(dir.Path(), "Base", "chs").Lookup("审核"), "审核");
    EXPECT_EQ(StringTable::Load(dir.Path(), "Missing", "chs").Lookup("审核"), "审核");
    try {
        StringTable::Load(dir.Path(), "Base", "de");
        ADD_FAILURE() << "loaded a missing table";
    } catch (const HostError& error) {
        EXPECT_EQ(error.Number(), kErrTableNotFound);
        EXPECT_NE(error.Description().find("Base.de.tsv"), std::string::npos);
    }
    try {
        StringTable::Load(dir.Path(), "Base", "xx");
        ADD_FAILURE() << "loaded a malformed table";
    } catch (const HostError& error) {
        EXPECT_NE(error.Description().find("Base.xx.tsv:1:"), std::string::npos);
    }
}

TEST(HostResLoader, FollowsTheLanguageAndCollectsUntranslatedTexts) {
    const ScratchDir dir;
    dir.Write("Base.en.tsv", kTable);
    HostResLoader loader(dir.Path());
    loader.SetResFileBaseName("Base");

    loader.SetLanguageID("chs");
    EXPECT_EQ(loader.LoadString("审核"), "审核");
    loader.SetLanguageID("en");
    EXPECT_EQ(loader.LoadString("审核"), "Audit");
    EXPECT_EQ(loader.LoadString("公式"), "公式");
    EXPECT_EQ(loader.LoadString("公式"), "公式");
    EXPECT_EQ(loader.LoadString("序时薄"), "序时薄");
    EXPECT_EQ(loader.Untranslated(), (std::vector<std::string>{"公式", "序时薄"}));

    loader.SetResFileBaseName("Other");
    EXPECT_THROW(loader.LoadString("审核"), HostError);
    loader.SetResFileBaseName("Base");
    EXPECT_EQ(loader.LoadString("反审核"), "Un-audit");
}

TEST(ShippedEnglishTable, TranslatesEveryChineseTextIntoPlainEnglish) {
    const StringTable en =
        StringTable::Load(kRoot / "host" / "resources", "VelaHYManufacture", "en");
    ASSERT_GT(en.Entries().size(), 100u);
    for (const auto& [source, translation] : en.Entries()) {
        SCOPED_TRACE(source);
        EXPECT_TRUE(HasChineseCharacters(source));
        EXPECT_FALSE(Trim(translation).empty());
        EXPECT_FALSE(HasChineseCharacters(translation)) << translation;
    }
    for (const char* text :
         {"审核成功！", "反审核成功！", "岚舟提示", "单据编号：", "客户服务记录"})
        EXPECT_TRUE(en.Contains(text)) << text;
}

// Every Chinese text the plug-ins write must reach an English user in English. Literals with a
// quote are SQL, whose Chinese is data, not a message.
TEST(ShippedEnglishTable, CoversEveryChineseLiteralOfThePlugIns) {
    const StringTable en =
        StringTable::Load(kRoot / "host" / "resources", "VelaHYManufacture", "en");
    for (const char* folder :
         {"frame", "billops", "sampling", "inspection", "supplier", "reject", "plugins"}) {
        if (!fs::exists(kRoot / folder)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(kRoot / folder)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".cpp" && ext != ".h") continue;
            for (const std::string& literal : StringLiterals(ReadFile(entry.path()))) {
                const std::string core = Trim(literal);
                if (!HasChineseCharacters(core) || core.find('\'') != std::string::npos) continue;
                EXPECT_TRUE(en.Contains(core)) << entry.path().string() << ": \"" << core << "\"";
            }
        }
    }
}

}  // namespace
}  // namespace velaqm::host
