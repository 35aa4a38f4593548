// The substitute string loader: tables that map the Chinese source texts of the plug-ins to
// another language, read from `<base name>.<language>.tsv` in the host's resources directory.
// A table file holds one "source<TAB>translation" per line; `#` starts a comment line and blank
// lines are skipped.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "frame/host_services.h"

namespace velaqm::host {

// The language the texts are written in: it needs no table.
inline constexpr std::string_view kSourceLanguage = "chs";

// Error numbers of the loader: no table for the language, or a table it cannot read.
inline constexpr std::int32_t kErrTableNotFound = 53;
inline constexpr std::int32_t kErrBadTable = 321;

class StringTable {
  public:
    // The pass-through table of the source language.
    StringTable() : m_language(kSourceLanguage) {}

    // The table of `language` from `<directory>/<baseName>.<language>.tsv`; the source
    // language reads no file. Throws HostError for a missing or unreadable file and for a
    // malformed line, naming the file and the line.
    static StringTable Load(const std::filesystem::path& directory, std::string_view baseName,
                            std::string_view language);
    // The table from a file's text; `origin` names it in errors ("file.tsv" gives
    // "file.tsv:12: ...").
    static StringTable Parse(std::string_view text, std::string_view language,
                             std::string_view origin);

    const std::string& Language() const { return m_language; }
    bool PassesThrough() const;
    // The translation of the text, or the text itself when the table has none or the
    // language is the source language.
    std::string Lookup(std::string_view text) const;
    bool Contains(std::string_view text) const { return m_index.contains(std::string(text)); }
    // The entries in file order.
    const std::vector<std::pair<std::string, std::string>>& Entries() const { return m_entries; }

  private:
    std::string m_language;
    std::vector<std::pair<std::string, std::string>> m_entries;
    std::unordered_map<std::string, std::size_t> m_index;
};

// VelaResLoader.Loader over the tables of one resources directory. The table is read when
// LoadString first needs it and again after the base name or the language changes.
class HostResLoader : public ResLoader {
  public:
    explicit HostResLoader(std::filesystem::path resourceDirectory)
        : m_directory(std::move(resourceDirectory)) {}

    std::string ResFileBaseName() const override { return m_baseName; }
    void SetResFileBaseName(std::string_view name) override;
    std::string LanguageID() const override { return m_language; }
    void SetLanguageID(std::string_view language) override;
    // Throws HostError when the language's table is missing or malformed.
    std::string LoadString(std::string_view text) override;

    // Texts asked for that the current table lacks, each once, in the order first asked: what
    // a translator still has to add.
    const std::vector<std::string>& Untranslated() const { return m_untranslated; }

  private:
    const StringTable& Table();

    std::filesystem::path m_directory;
    std::string m_baseName;
    std::string m_language;
    std::optional<StringTable> m_table;
    std::vector<std::string> m_untranslated;
};

}  // namespace velaqm::host
