#include "cli/scenario.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <utility>

#include "cli/echo.h"
#include "frame/date.h"

namespace velaqm::cli {

namespace {

// What a positional argument or an option value must look like.
enum class Kind { Text, Positive, Count, Day, Choice };

struct Param {
    Param(std::string_view name, Kind kind = Kind::Text, std::string_view choices = {})
        : name(name), kind(kind), choices(choices) {}
    std::string_view name;
    Kind kind;
    std::string_view choices;  // "a|b|c" for Kind::Choice
};

using ExtraCheck = void (*)(const Command&);

struct Signature {
    Signature(std::string_view verb, std::string_view usage, std::string_view meaning,
              std::vector<Param> args = {}, std::size_t required = 0,
              std::vector<Param> options = {}, ExtraCheck check = nullptr)
        : verb(verb),
          usage(usage),
          meaning(meaning),
          args(std::move(args)),
          required(required),
          options(std::move(options)),
          check(check) {}
    std::string_view verb;
    std::string_view usage;
    std::string_view meaning;
    std::vector<Param> args;
    std::size_t required;  // the leading args that must be given
    std::vector<Param> options;
    ExtraCheck check;  // rules beyond the shape
};

[[noreturn]] void Refuse(const Command& command, const std::string& what) {
    throw ScriptError(command.file, command.line, what);
}

// A stray carriage return (a file written on Windows, typed input) separates like a blank.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

bool IsIdentifier(std::string_view text) {
    if (text.empty() || !(std::isalpha(static_cast<unsigned char>(text[0])) || text[0] == '_'))
        return false;
    return std::all_of(text.begin(), text.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    });
}

std::optional<int> ReadInt(std::string_view text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
    return value;
}

bool IsChoice(std::string_view text, std::string_view choices) {
    while (!choices.empty()) {
        const auto bar = choices.find('|');
        if (choices.substr(0, bar) == text) return true;
        if (bar == std::string_view::npos) break;
        choices.remove_prefix(bar + 1);
    }
    return false;
}

bool IsDay(std::string_view text) {
    const bool shaped = text.size() == 10 && text[4] == '-' && text[7] == '-' &&
                        std::all_of(text.begin(), text.end(), [](char c) {
                            return c == '-' || std::isdigit(static_cast<unsigned char>(c));
                        });
    return shaped && Date::Parse(text).has_value();
}

void CheckValue(const Command& command, const Param& param, std::string_view value) {
    const std::string name(param.name);
    switch (param.kind) {
        case Kind::Text:
            return;
        case Kind::Positive:
            if (const auto number = ReadInt(value); number && *number > 0) return;
            Refuse(command, name + " must be a whole number above 0, not \"" + Echo(value) + "\"");
        case Kind::Count:
            if (ReadInt(value)) return;
            Refuse(command, name + " must be a whole number, not \"" + Echo(value) + "\"");
        case Kind::Day:
            if (IsDay(value)) return;
            Refuse(command, name + " must be a date YYYY-MM-DD, not \"" + Echo(value) + "\"");
        case Kind::Choice:
            if (IsChoice(value, param.choices)) return;
            Refuse(command, name + " must be " + std::string(param.choices) + ", not \"" +
                                Echo(value) + "\"");
    }
}

// --- rules beyond the shape ------------------------------------------------------------------

void CheckBillChoice(const Command& command) {
    const bool byNumber = command.HasArg(1);
    const bool byId = command.options.contains("id");
    if (byNumber == byId)
        Refuse(command, command.verb + " takes a bill number, last or id=N (one of them)");
}

void CheckSelection(const Command& command) {
    for (std::string_view item : SplitList(command.Arg(0))) {
        const auto slash = item.find('/');
        const std::string_view billNo = item.substr(0, slash);
        if (billNo.empty())
            Refuse(command, "select: an empty bill number in \"" + Echo(command.Arg(0)) + "\"");
        if (slash == std::string_view::npos) continue;
        const auto entry = ReadInt(item.substr(slash + 1));
        if (!entry || *entry < 1)
            Refuse(command, "select: the entry row of \"" + Echo(item) +
                                "\" must be a whole number above 0");
    }
}

void CheckChoice(const Command& command) {
    const bool keyword = !command.args[0].quoted;
    if (keyword && (command.Arg(0) == "none" || command.Arg(0) == "close")) return;
    for (const std::string& item : SplitList(command.Arg(0))) {
        if (item.empty())
            Refuse(command, "choose: an empty bill number in \"" + Echo(command.Arg(0)) + "\"");
        const auto id = item.starts_with("id:") ? ReadInt(item.substr(3)) : std::optional<int>(1);
        if (!id || *id < 1)
            Refuse(command, "choose: the internal ID of \"" + Echo(item) +
                                "\" must be a whole number above 0");
    }
}

void CheckFocus(const Command& command) {
    if (command.Arg(0) == "head" && command.options.contains("row"))
        Refuse(command, "focus head takes no row");
}

void CheckCellRow(const Command& command) {
    if (!command.options.contains("row")) Refuse(command, "expect cell needs row=N");
}

const Param kKey{"KEY"};
const Param kRow{"row", Kind::Positive};
const Param kClass{"CLASS", Kind::Positive};

const std::vector<Signature>& Signatures() {
    static const std::vector<Signature> table{
        {"login",
         "login [user=N] [name=TEXT] [subid=TEXT] [lang=chs|en] [rights=all|none]",
         "who works (defaults user=16394 name=morgan subid=qm, the run's language, rights=all)",
         {},
         0,
         {{"user", Kind::Positive},
          {"name"},
          {"subid"},
          {"lang", Kind::Choice, "chs|en"},
          {"rights", Kind::Choice, "all|none"}}},
        {"today",
         "today YYYY-MM-DD",
         "the date of the server and the client from now on",
         {{"DATE", Kind::Day}},
         1},
        {"sql",
         "sql \"STATEMENT\"",
         "runs SQL Server text on the database, as the host would",
         {{"STATEMENT"}},
         1},
        {"new", "new CLASS", "opens the bill form of the class type with a new bill", {kClass}, 1},
        {"open",
         "open CLASS BILLNO|last | open CLASS id=N",
         "opens a saved bill for editing (last: the most recently saved)",
         {kClass, {"BILLNO"}},
         1,
         {{"id", Kind::Positive}},
         CheckBillChoice},
        {"view",
         "view CLASS BILLNO|last | view CLASS id=N",
         "opens a saved bill read-only",
         {kClass, {"BILLNO"}},
         1,
         {{"id", Kind::Positive}},
         CheckBillChoice},
        {"list", "list CLASS", "opens the bill list of the class type", {kClass}, 1},
        {"select",
         "select BILLNO[/ENTRY][,...]",
         "selects list rows: bills or their entry rows",
         {{"ROWS"}},
         1,
         {},
         CheckSelection},
        {"edit",
         "edit KEY [row=N] VALUE",
         "enters the field and types VALUE (a lookup takes the number, or id:N; \"\" clears)",
         {kKey, {"VALUE"}},
         2,
         {kRow}},
        {"enter", "enter KEY [row=N]", "enters the field only", {kKey}, 1, {kRow}},
        {"click", "click TOOL", "clicks a toolbar tool", {{"TOOL"}}, 1},
        {"save", "save", "clicks mnuFileSave"},
        {"menu", "menu TOOL", "chooses a menu item", {{"TOOL"}}, 1},
        {"answer",
         "answer yes|no|ok",
         "the answer to the next message box that asks",
         {{"ANSWER", Kind::Choice, "yes|no|ok"}},
         1},
        {"choose",
         "choose BILLNO[,...]|id:N[,...]|none|close",
         "the choice in the next list-selection or lookup window (none: its exit button, "
         "close: its close box)",
         {{"BILLNOS"}},
         1,
         {},
         CheckChoice},
        {"formula",
         "formula \"TEXT\"|cancel",
         "the result of the next formula-editor window",
         {{"FORMULA"}},
         1},
        {"focus",
         "focus grid [row=N] | focus head",
         "where the cursor stands",
         {{"WHERE", Kind::Choice, "grid|head"}},
         1,
         {kRow},
         CheckFocus},
        {"close", "close", "closes the form"},
        {"show", "show", "prints the form: head, entry grid, tools"},
        {"expect message",
         "expect message \"TEXT\"",
         "the oldest unread message box showed exactly TEXT; marks it read",
         {{"TEXT"}},
         1},
        {"expect no message", "expect no message", "no unread message box"},
        {"expect value",
         "expect value KEY [row=N] TEXT",
         "the field's stored value, as text",
         {kKey, {"TEXT"}},
         2,
         {kRow}},
        {"expect text",
         "expect text KEY [row=N] TEXT",
         "the field's displayed text",
         {kKey, {"TEXT"}},
         2,
         {kRow}},
        {"expect tool",
         "expect tool TOOL visible|hidden|enabled|disabled",
         "the state of a toolbar or menu tool",
         {{"TOOL"}, {"STATE", Kind::Choice, "visible|hidden|enabled|disabled"}},
         2},
        {"expect field",
         "expect field KEY enabled|disabled|locked|unlocked",
         "the field enable switch or the field lock",
         {kKey, {"STATE", Kind::Choice, "enabled|disabled|locked|unlocked"}},
         2},
        {"expect cell",
         "expect cell KEY row=N locked|unlocked",
         "one cell's lock",
         {kKey, {"STATE", Kind::Choice, "locked|unlocked"}},
         2,
         {kRow},
         CheckCellRow},
        {"expect bill",
         "expect bill locked|unlocked",
         "the bill's lock switch",
         {{"STATE", Kind::Choice, "locked|unlocked"}},
         1},
        {"expect rows", "expect rows N", "entry rows holding data", {{"N", Kind::Count}}, 1},
        {"expect saved", "expect saved", "the last save wrote the bill"},
        {"expect not saved", "expect not saved", "the last save was refused"},
        {"expect query",
         "expect query \"SQL\" TEXT",
         "first column of the first row, as text (\"\" when no row)",
         {{"SQL"}, {"TEXT"}},
         2},
        {"expect lookup",
         "expect lookup \"TEXT\"",
         "the record numbers the last lookup window showed, joined by |",
         {{"TEXT"}},
         1},
        {"expect export note",
         "expect export note \"TEXT\"",
         "the lines BeforeSetExportNote gives the template export, joined by |",
         {{"TEXT"}},
         1},
        {"expect dialog",
         "expect dialog \"TEXT\"",
         "what the item dialogs were given since the last look, joined by | (\"\" for none)",
         {{"TEXT"}},
         1},
        {"expect band",
         "expect band BAND \"TOOLS\"",
         "the tools of a toolbar or menu-bar band in order, marked as show marks them",
         {{"BAND"}, {"TOOLS"}},
         2},
    };
    return table;
}

const Signature* FindSignature(std::string_view verb) {
    const auto& table = Signatures();
    const auto found = std::find_if(table.begin(), table.end(),
                                    [&](const Signature& s) { return s.verb == verb; });
    return found == table.end() ? nullptr : &*found;
}

// --- tokens ------------------------------------------------------------------------------------

struct Token {
    std::string text;
    bool quoted = false;
    std::optional<std::size_t> equals;  // an `=` before any quote: a key=value option
};

bool ValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t extra = lead < 0x80             ? 0
                                  : (lead & 0xE0) == 0xC0 ? 1
                                  : (lead & 0xF0) == 0xE0 ? 2
                                  : (lead & 0xF8) == 0xF0 ? 3
                                                          : 4;
        if (extra == 4 || text.size() - i <= extra) return false;
        for (std::size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += extra + 1;
    }
    return true;
}

std::vector<Token> Tokenize(std::string_view line, const std::string& file, int lineNumber,
                            std::size_t& commentAt) {
    std::vector<Token> tokens;
    commentAt = line.size();
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        if (i == line.size()) break;
        if (line[i] == '#') {  // a comment starts only where a word could
            commentAt = i;
            break;
        }
        Token token;
        while (i < line.size() && !IsBlank(line[i])) {
            if (line[i] != '"') {
                if (line[i] == '=' && !token.quoted && !token.equals)
                    token.equals = token.text.size();
                token.text += line[i++];
                continue;
            }
            token.quoted = true;
            ++i;
            while (true) {
                if (i == line.size()) throw ScriptError(file, lineNumber, "unterminated quote");
                if (line[i] == '"') {
                    ++i;
                    break;
                }
                // \" and \\ stand for themselves, \r and \n for the halves of a line break.
                if (line[i] == '\\' && i + 1 < line.size()) {
                    const char next = line[i + 1];
                    if (next == '"' || next == '\\' || next == 'r' || next == 'n') {
                        token.text += next == 'r' ? '\r' : next == 'n' ? '\n' : next;
                        i += 2;
                        continue;
                    }
                }
                token.text += line[i++];
            }
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// "expect" takes its form from the words after it: "expect no message", "expect value", ...
std::string ExpectVerb(Command& command) {
    if (command.args.empty() || command.args[0].quoted)
        Refuse(command,
               "expect needs a form: message, no message, value, text, tool, field, "
               "cell, bill, rows, saved, not saved, query, lookup, export note, dialog, band");
    std::string verb = "expect " + command.args[0].text;
    command.args.erase(command.args.begin());
    if ((verb == "expect no" || verb == "expect not" || verb == "expect export") &&
        !command.args.empty() && !command.args[0].quoted) {
        verb += " " + command.args[0].text;
        command.args.erase(command.args.begin());
    }
    return verb;
}

void CheckShape(const Command& command, const Signature& signature) {
    const std::string usage = " (usage: " + std::string(signature.usage) + ")";
    if (command.args.size() < signature.required)
        Refuse(command, "missing " + std::string(signature.args[command.args.size()].name) + usage);
    if (command.args.size() > signature.args.size())
        Refuse(command, "too many arguments: \"" + Echo(command.args[signature.args.size()].text) +
                            "\"" + usage);
    for (std::size_t i = 0; i < command.args.size(); ++i)
        CheckValue(command, signature.args[i], command.args[i].text);
    for (const auto& option : command.options) {
        // Not a structured binding: clang 14 cannot capture one in the lambda.
        const std::string& name = option.first;
        const std::string& value = option.second;
        const auto param = std::find_if(signature.options.begin(), signature.options.end(),
                                        [&](const Param& p) { return p.name == name; });
        if (param == signature.options.end())
            Refuse(command, "unknown option " + Echo(name) + "= for " + Echo(command.verb) +
                                " (quote a value that holds \"=\")" + usage);
        CheckValue(command, *param, value);
    }
    if (signature.check) signature.check(command);
}

}  // namespace

// --- Command -----------------------------------------------------------------------------------

std::optional<std::string> Command::Option(std::string_view name) const {
    const auto found = options.find(std::string(name));
    if (found == options.end()) return std::nullopt;
    return found->second;
}

std::optional<int> Command::IntOption(std::string_view name) const {
    const auto text = Option(name);
    if (!text) return std::nullopt;
    return ReadInt(*text);
}

ScriptError::ScriptError(std::string file, int line, const std::string& what)
    : std::runtime_error(what), m_file(std::move(file)), m_line(line), m_message(what) {}

std::string ScriptError::Report() const {
    return Echo(m_file) + ":" + std::to_string(m_line) + ": " + m_message;
}

// --- parsing -----------------------------------------------------------------------------------

std::optional<Command> ParseLine(std::string_view line, const std::string& file, int lineNumber) {
    if (!ValidUtf8(line)) throw ScriptError(file, lineNumber, "the line is not valid UTF-8");
    std::size_t commentAt = 0;
    std::vector<Token> tokens = Tokenize(line, file, lineNumber, commentAt);
    if (tokens.empty()) return std::nullopt;

    Command command;
    command.file = file;
    command.line = lineNumber;
    command.source = Trimmed(line.substr(0, commentAt));
    if (tokens[0].quoted) throw ScriptError(file, lineNumber, "a command cannot be quoted");
    command.verb = tokens[0].text;
    for (std::size_t i = 1; i < tokens.size(); ++i) {
        Token& token = tokens[i];
        const bool isOption =
            token.equals && IsIdentifier(std::string_view(token.text).substr(0, *token.equals));
        if (!isOption) {
            command.args.push_back({std::move(token.text), token.quoted});
            continue;
        }
        std::string name = token.text.substr(0, *token.equals);
        if (command.options.contains(name))
            throw ScriptError(file, lineNumber, "option " + Echo(name) + "= given twice");
        command.options.emplace(std::move(name), token.text.substr(*token.equals + 1));
    }
    if (command.verb == "expect") command.verb = ExpectVerb(command);

    const Signature* signature = FindSignature(command.verb);
    if (!signature)
        throw ScriptError(file, lineNumber, "unknown command \"" + Echo(command.verb) + "\"");
    CheckShape(command, *signature);
    return command;
}

Script ParseScript(std::string_view text, const std::string& file,
                   std::vector<ScriptError>& errors) {
    Script script;
    script.file = file;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    int lineNumber = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        ++lineNumber;
        try {
            if (auto command = ParseLine(line, file, lineNumber))
                script.commands.push_back(std::move(*command));
        } catch (const ScriptError& error) {
            errors.push_back(error);
        }
    }
    script.lineCount = lineNumber;
    return script;
}

std::span<const CommandHelp> ScenarioCommandHelp() {
    static const std::vector<CommandHelp> help = [] {
        std::vector<CommandHelp> lines;
        for (const Signature& s : Signatures())
            lines.push_back({s.usage, s.meaning});
        return lines;
    }();
    return help;
}

std::vector<std::string> SplitList(std::string_view text) {
    std::vector<std::string> items;
    while (true) {
        const auto comma = text.find(',');
        items.emplace_back(text.substr(0, comma));
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return items;
}

std::vector<SelectedRow> SplitSelection(std::string_view text) {
    std::vector<SelectedRow> rows;
    for (const std::string& item : SplitList(text)) {
        const auto slash = item.find('/');
        SelectedRow row{item.substr(0, slash), 0};
        if (slash != std::string::npos)
            row.entry = ReadInt(std::string_view(item).substr(slash + 1)).value_or(0);
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace velaqm::cli
