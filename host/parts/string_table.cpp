#include "host/parts/string_table.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "frame/host_error.h"
#include "frame/text_util.h"

namespace velaqm::host {

namespace {

constexpr std::string_view kLoaderSource = "VelaResLoader.Loader";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsPassThrough(std::string_view language) {
    return language.empty() || EqualsNoCase(language, kSourceLanguage);
}

[[noreturn]] void ThrowBadLine(std::string_view origin, std::size_t line, std::string_view what) {
    throw HostError(kErrBadTable, std::string(kLoaderSource),
                    std::string(origin) + ":" + std::to_string(line) + ": " + std::string(what));
}

}  // namespace

StringTable StringTable::Load(const std::filesystem::path& directory, std::string_view baseName,
                              std::string_view language) {
    StringTable table;
    table.m_language = language;
    if (IsPassThrough(language)) return table;

    const std::filesystem::path file =
        directory / (std::string(baseName) + "." + LowerAscii(language) + ".tsv");
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw HostError(kErrTableNotFound, std::string(kLoaderSource),
                        "String table not found: " + file.string());
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        throw HostError(kErrBadTable, std::string(kLoaderSource),
                        "String table unreadable: " + file.string());
    return Parse(text.str(), language, file.string());
}

// Blanks around either text are refused rather than trimmed: the loader is asked for trimmed
// texts, and the caller adds the blanks a language needs, so a blank here is always a mistake.
StringTable StringTable::Parse(std::string_view text, std::string_view language,
                               std::string_view origin) {
    StringTable table;
    table.m_language = language;
    if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());

    std::unordered_map<std::string, std::size_t> firstLine;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        ++lineNumber;
        if (line.ends_with('\r')) line.remove_suffix(1);

        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed.front() == '#') continue;

        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos)
            ThrowBadLine(origin, lineNumber, "no tab between the source text and its translation");
        const std::string_view source = line.substr(0, tab);
        const std::string_view translation = line.substr(tab + 1);
        if (translation.find('\t') != std::string_view::npos)
            ThrowBadLine(origin, lineNumber, "more than one tab");
        if (source.empty()) ThrowBadLine(origin, lineNumber, "no source text");
        if (Trim(translation).empty()) ThrowBadLine(origin, lineNumber, "no translation");
        if (Trim(source) != source)
            ThrowBadLine(origin, lineNumber, "blanks around the source text");
        if (Trim(translation) != translation)
            ThrowBadLine(origin, lineNumber, "blanks around the translation");

        const auto [first, added] = firstLine.emplace(std::string(source), lineNumber);
        if (!added)
            ThrowBadLine(origin, lineNumber,
                         "source text already on line " + std::to_string(first->second));
        table.m_index.emplace(std::string(source), table.m_entries.size());
        table.m_entries.emplace_back(std::string(source), std::string(translation));
    }
    return table;
}

bool StringTable::PassesThrough() const {
    return IsPassThrough(m_language);
}

std::string StringTable::Lookup(std::string_view text) const {
    if (PassesThrough()) return std::string(text);
    const auto found = m_index.find(std::string(text));
    return found == m_index.end() ? std::string(text) : m_entries[found->second].second;
}

void HostResLoader::SetResFileBaseName(std::string_view name) {
    if (name == m_baseName) return;
    m_baseName = name;
    m_table.reset();
}

void HostResLoader::SetLanguageID(std::string_view language) {
    if (language == m_language) return;
    m_language = language;
    m_table.reset();
}

std::string HostResLoader::LoadString(std::string_view text) {
    if (IsPassThrough(m_language)) return std::string(text);
    const StringTable& table = Table();
    if (!text.empty() && !table.Contains(text) &&
        std::find(m_untranslated.begin(), m_untranslated.end(), text) == m_untranslated.end())
        m_untranslated.emplace_back(text);
    return table.Lookup(text);
}

const StringTable& HostResLoader::Table() {
    if (!m_table) m_table = StringTable::Load(m_directory, m_baseName, m_language);
    return *m_table;
}

}  // namespace velaqm::host
