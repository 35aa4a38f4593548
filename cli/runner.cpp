#include "cli/runner.h"

#include "cli/echo.h"
#include "frame/convert.h"
#include "frame/date.h"
#include "frame/host_error.h"
#include "frame/platform.h"
#include "host/action_refused.h"
#include "host/bill_form.h"
#include "host/catalog.h"
#include "host/list_form.h"
#include "host/native_sql.h"
#include "host/session.h"

namespace velaqm::cli {

namespace {

std::string Quoted(std::string_view text) {
    // A char, not a literal: GCC 12 -O3 warns falsely (-Wrestrict) on "x" + string&&.
    return '"' + std::string(text) + '"';
}

// A scenario's own text in a failure: shortened when huge.
std::string QuotedInput(std::string_view text) {
    return "\"" + Echo(text) + "\"";
}

// The row a command names; 0 lets the form take its own default (the head, or row 1).
int RowOf(const Command& command) {
    return command.IntOption("row").value_or(0);
}

void Expect(bool holds, const std::string& expected, const std::string& found) {
    if (!holds) throw ScenarioFailure("expected " + expected + ", found " + found);
}

void ExpectEqual(std::string_view what, std::string_view expected, std::string_view found) {
    Expect(expected == found, std::string(what) + " " + QuotedInput(expected), Quoted(found));
}

std::string Join(const std::vector<std::string>& items, std::string_view separator) {
    std::string joined;
    for (const std::string& item : items) {
        if (!joined.empty()) joined += separator;
        joined += item;
    }
    return joined;
}

}  // namespace

ScenarioRunner::ScenarioRunner(host::Session& session, std::ostream& out, bool echoCommands,
                               std::string language)
    : m_session(session),
      m_out(out),
      m_echoCommands(echoCommands),
      m_language(std::move(language)) {
    if (m_session.User().language != m_language) {
        host::LoginInfo login;
        login.language = m_language;
        m_session.Login(login);
    }
    NoteMessageLines(0);
    m_messagesReported = m_messageLines.size();
}

const std::map<std::string, ScenarioRunner::Handler, std::less<>>& ScenarioRunner::Handlers() {
    static const std::map<std::string, Handler, std::less<>> handlers{
        {"login", &ScenarioRunner::Login},
        {"today", &ScenarioRunner::Today},
        {"sql", &ScenarioRunner::Sql},
        {"new", &ScenarioRunner::New},
        {"open", &ScenarioRunner::Open},
        {"view", &ScenarioRunner::View},
        {"list", &ScenarioRunner::OpenList},
        {"select", &ScenarioRunner::Select},
        {"edit", &ScenarioRunner::Edit},
        {"enter", &ScenarioRunner::Enter},
        {"click", &ScenarioRunner::Click},
        {"save", &ScenarioRunner::Save},
        {"menu", &ScenarioRunner::Menu},
        {"answer", &ScenarioRunner::Answer},
        {"choose", &ScenarioRunner::Choose},
        {"formula", &ScenarioRunner::Formula},
        {"focus", &ScenarioRunner::Focus},
        {"close", &ScenarioRunner::Close},
        {"show", &ScenarioRunner::Show},
        {"expect message", &ScenarioRunner::ExpectMessage},
        {"expect no message", &ScenarioRunner::ExpectNoMessage},
        {"expect value", &ScenarioRunner::ExpectValue},
        {"expect text", &ScenarioRunner::ExpectText},
        {"expect tool", &ScenarioRunner::ExpectTool},
        {"expect field", &ScenarioRunner::ExpectField},
        {"expect cell", &ScenarioRunner::ExpectCell},
        {"expect bill", &ScenarioRunner::ExpectBill},
        {"expect rows", &ScenarioRunner::ExpectRows},
        {"expect saved", &ScenarioRunner::ExpectSaved},
        {"expect not saved", &ScenarioRunner::ExpectNotSaved},
        {"expect query", &ScenarioRunner::ExpectQuery},
        {"expect lookup", &ScenarioRunner::ExpectLookup},
        {"expect export note", &ScenarioRunner::ExpectExportNote},
        {"expect dialog", &ScenarioRunner::ExpectDialog},
        {"expect band", &ScenarioRunner::ExpectBand},
    };
    return handlers;
}

void ScenarioRunner::Run(const Command& command) {
    const auto handler = Handlers().find(command.verb);
    if (handler == Handlers().end())
        throw ScenarioFailure("the runner has no command " + QuotedInput(command.verb));
    if (m_echoCommands) m_out << "> " << command.source << '\n';
    try {
        Dispatch(handler->second, command);
    } catch (const ScenarioFailure&) {
        NoteMessageLines(command.line);
        throw;
    }
    NoteMessageLines(command.line);
    // A window that asked and got no answer from the scenario is the scenario's fault, not the
    // plug-in's, and is reported where it happened.
    if (const auto problems = m_session.TakeProblems(); !problems.empty())
        throw ScenarioFailure(Echo(command.source) + ": " + Join(problems, "; "));
}

// Whatever stops a command (a refused action, a host error) fails it with the command's text.
void ScenarioRunner::Dispatch(Handler handler, const Command& command) {
    try {
        (this->*handler)(command);
    } catch (const ScenarioFailure&) {
        throw;
    } catch (const std::exception& error) {
        // A database error repeats the statement, which is the scenario's own text.
        throw ScenarioFailure(Echo(command.source) + ": " + Echo(ErrorText(error)));
    }
}

void ScenarioRunner::Finish() {
    const auto& messages = m_session.Log().Messages();
    for (std::size_t i = 0; i < messages.size(); ++i)
        if (!messages[i].read)
            throw ScenarioFailure("expected every message read by the end, found " +
                                      Quoted(messages[i].text) + " unread",
                                  i < m_messageLines.size() ? m_messageLines[i] : 0);
    if (m_session.PendingAnswers() > 0)
        throw ScenarioFailure("expected every answer and choice taken by a window, found " +
                              std::to_string(m_session.PendingAnswers()) + " left over");
}

std::vector<std::string> ScenarioRunner::TakeNewMessages() {
    const auto& messages = m_session.Log().Messages();
    std::vector<std::string> fresh;
    for (std::size_t i = m_messagesReported; i < messages.size(); ++i)
        fresh.push_back(messages[i].text);
    m_messagesReported = messages.size();
    return fresh;
}

void ScenarioRunner::NoteMessageLines(int line) {
    m_messageLines.resize(m_session.Log().Messages().size(), line);
}

host::BillForm& ScenarioRunner::Bill() const {
    host::BillForm* bill = m_session.CurrentBill();
    if (!bill) throw ScenarioFailure("expected an open bill form, found none");
    return *bill;
}

host::ListForm& ScenarioRunner::List() const {
    host::ListForm* list = m_session.CurrentList();
    if (!list) throw ScenarioFailure("expected an open bill list, found none");
    return *list;
}

// A bill named by id=N, by its bill number, or `last`: the one saved most recently (highest FID).
int ScenarioRunner::ResolveBillId(const Command& command) const {
    if (const auto id = command.IntOption("id")) return *id;
    const int classTypeId = std::stoi(command.Arg(0));
    const auto def = m_session.ClassDefOf(classTypeId);
    const std::string table = host::QuoteName(def->HeadPage().tableName);
    const std::string& wanted = command.Arg(1);
    if (wanted == "last" && !command.args[1].quoted) {
        const Variant last = host::QueryValue(m_session.Db(), "SELECT MAX(FID) FROM " + table);
        Expect(!last.IsNull() && !last.IsEmpty(), "a saved bill of class " + command.Arg(0),
               "none");
        return static_cast<int>(WholeNumber(last));
    }
    const host::FieldDef* billNo = def->BillNoField();
    Expect(billNo != nullptr, "class " + command.Arg(0) + " to number its bills",
           "no BILLNO field");
    const Variant id = host::QueryValue(
        m_session.Db(),
        "SELECT FID FROM " + table + " WHERE " + host::QuoteName(billNo->fieldName) + " = ?",
        {wanted});
    Expect(!id.IsEmpty(), "bill " + QuotedInput(wanted) + " of class " + command.Arg(0),
           "no such bill");
    return static_cast<int>(WholeNumber(id));
}

// --- the session ---------------------------------------------------------------------------------

void ScenarioRunner::Login(const Command& command) {
    host::LoginInfo login;
    if (const auto user = command.IntOption("user")) login.userId = *user;
    login.userName = command.Option("name").value_or(login.userName);
    login.subId = command.Option("subid").value_or(login.subId);
    login.language = command.Option("lang").value_or(m_language);
    login.allRights = command.Option("rights").value_or("all") == "all";
    m_session.Login(login);
}

void ScenarioRunner::Today(const Command& command) {
    m_session.SetToday(*Date::Parse(command.Arg(0)));
}

void ScenarioRunner::Sql(const Command& command) {
    const host::ResultSet result = m_session.Db().Execute(command.Arg(0));
    if (!m_echoCommands || !result.isQuery) return;
    for (const auto& row : result.rows) {
        m_out << "  =";
        for (const Variant& value : row)
            m_out << ' ' << Text(value);
        m_out << '\n';
    }
}

// --- forms -----------------------------------------------------------------------------------

void ScenarioRunner::New(const Command& command) {
    m_session.OpenNewBill(std::stoi(command.Arg(0)));
}

void ScenarioRunner::Open(const Command& command) {
    m_session.OpenBill(std::stoi(command.Arg(0)), ResolveBillId(command), false);
}

void ScenarioRunner::View(const Command& command) {
    m_session.OpenBill(std::stoi(command.Arg(0)), ResolveBillId(command), true);
}

void ScenarioRunner::OpenList(const Command& command) {
    m_session.OpenList(std::stoi(command.Arg(0)));
}

void ScenarioRunner::Select(const Command& command) {
    std::vector<host::ListForm::Selection> rows;
    for (const SelectedRow& row : SplitSelection(command.Arg(0)))
        rows.push_back({row.billNo, row.entry});
    List().Select(rows);
}

void ScenarioRunner::Edit(const Command& command) {
    Bill().Edit(command.Arg(0), RowOf(command), command.Arg(1));
}

void ScenarioRunner::Enter(const Command& command) {
    Bill().Enter(command.Arg(0), RowOf(command));
}

void ScenarioRunner::Click(const Command& command) {
    if (m_session.CurrentList()) {
        List().Click(command.Arg(0));
        m_session.OpenPushedBill();
    } else
        Bill().Click(command.Arg(0));
}

void ScenarioRunner::Save(const Command&) {
    Bill().Click("mnuFileSave");
}

void ScenarioRunner::Menu(const Command& command) {
    Bill().ChooseMenu(command.Arg(0));
}

void ScenarioRunner::Focus(const Command& command) {
    if (command.Arg(0) == "head")
        Bill().FocusHead();
    else
        Bill().FocusGrid(command.IntOption("row"));
}

void ScenarioRunner::Close(const Command&) {
    m_session.CloseForm();
}

void ScenarioRunner::Show(const Command&) {
    if (const host::BillForm* bill = m_session.CurrentBill())
        m_out << bill->Render();
    else if (const host::ListForm* list = m_session.CurrentList())
        m_out << list->Render();
    else
        m_out << "(no form is open)\n";
}

// --- what a person answers -----------------------------------------------------------------------

void ScenarioRunner::Answer(const Command& command) {
    const std::string& answer = command.Arg(0);
    m_session.QueueAnswer(answer == "yes" ? kAnswerYes : answer == "no" ? kAnswerNo : kAnswerOk);
}

namespace {

// The bills of a `choose`: numbers, and "id:N" for internal IDs.
host::WindowChoice ChoiceOf(const std::vector<std::string>& items) {
    host::WindowChoice choice{
        .kind = host::WindowChoice::Kind::Bills, .billNumbers = {}, .ids = {}};
    for (const std::string& item : items) {
        if (item.starts_with("id:"))
            choice.ids.push_back(static_cast<int>(LeadingNumber(item.substr(3))));
        else
            choice.billNumbers.push_back(item);
    }
    return choice;
}

}  // namespace

void ScenarioRunner::Choose(const Command& command) {
    const bool keyword = !command.args[0].quoted;
    if (keyword && command.Arg(0) == "none")
        m_session.QueueChoice({.kind = host::WindowChoice::Kind::Exit, .billNumbers = {}});
    else if (keyword && command.Arg(0) == "close")
        m_session.QueueChoice({.kind = host::WindowChoice::Kind::Close, .billNumbers = {}});
    else
        m_session.QueueChoice(ChoiceOf(SplitList(command.Arg(0))));
}

void ScenarioRunner::Formula(const Command& command) {
    if (command.Arg(0) == "cancel" && !command.args[0].quoted)
        m_session.QueueFormula(std::nullopt);
    else
        m_session.QueueFormula(command.Arg(0));
}

// --- expectations --------------------------------------------------------------------------------

void ScenarioRunner::ExpectMessage(const Command& command) {
    host::MessageBoxRecord* oldest = m_session.Log().OldestUnread();
    Expect(oldest != nullptr, "message " + QuotedInput(command.Arg(0)), "no unread message");
    ExpectEqual("message", command.Arg(0), oldest->text);
    oldest->read = true;
}

void ScenarioRunner::ExpectNoMessage(const Command&) {
    const host::MessageBoxRecord* oldest = m_session.Log().OldestUnread();
    Expect(oldest == nullptr, "no message", oldest ? "message " + Quoted(oldest->text) : "");
}

void ScenarioRunner::ExpectValue(const Command& command) {
    ExpectEqual("value of " + command.Arg(0), command.Arg(1),
                Bill().ValueText(command.Arg(0), RowOf(command)));
}

void ScenarioRunner::ExpectText(const Command& command) {
    ExpectEqual("text of " + command.Arg(0), command.Arg(1),
                Bill().DisplayText(command.Arg(0), RowOf(command)));
}

void ScenarioRunner::ExpectTool(const Command& command) {
    const std::string& key = command.Arg(0);
    const std::string& state = command.Arg(1);
    const host::HostTool& tool =
        m_session.CurrentList() ? List().ToolState(key) : Bill().ToolState(key);
    const bool visibility = state == "visible" || state == "hidden";
    const bool on = visibility ? tool.Visible() : tool.Enabled();
    const bool wanted = state == "visible" || state == "enabled";
    Expect(on == wanted, "tool " + key + " " + state,
           visibility ? (on ? "visible" : "hidden") : (on ? "enabled" : "disabled"));
}

void ScenarioRunner::ExpectField(const Command& command) {
    const std::string& key = command.Arg(0);
    const std::string& state = command.Arg(1);
    const bool enabling = state == "enabled" || state == "disabled";
    const bool on = enabling ? Bill().FieldEnabled(key) : Bill().FieldLocked(key);
    const bool wanted = state == "enabled" || state == "locked";
    Expect(on == wanted, "field " + key + " " + state,
           enabling ? (on ? "enabled" : "disabled") : (on ? "locked" : "unlocked"));
}

void ScenarioRunner::ExpectCell(const Command& command) {
    const std::string& key = command.Arg(0);
    const bool locked = Bill().CellLocked(key, RowOf(command));
    Expect(locked == (command.Arg(1) == "locked"),
           "cell " + key + " row " + std::to_string(RowOf(command)) + " " + command.Arg(1),
           locked ? "locked" : "unlocked");
}

void ScenarioRunner::ExpectBill(const Command& command) {
    const bool locked = Bill().BillLocked();
    Expect(locked == (command.Arg(0) == "locked"), "the bill " + command.Arg(0),
           locked ? "locked" : "unlocked");
}

void ScenarioRunner::ExpectRows(const Command& command) {
    const int rows = Bill().RowsWithData();
    Expect(rows == std::stoi(command.Arg(0)), command.Arg(0) + " rows holding data",
           std::to_string(rows));
}

void ScenarioRunner::ExpectSaved(const Command&) {
    const auto saved = Bill().LastSave();
    Expect(saved.value_or(false), "the last save to succeed",
           saved ? "it was refused" : "no save tried");
}

void ScenarioRunner::ExpectNotSaved(const Command&) {
    const auto saved = Bill().LastSave();
    Expect(saved.has_value() && !*saved, "the last save to be refused",
           saved ? "the bill saved" : "no save tried");
}

void ScenarioRunner::ExpectQuery(const Command& command) {
    const host::ResultSet result = m_session.Db().Execute(command.Arg(0));
    const std::string found =
        result.rows.empty() || result.rows.front().empty() ? "" : Text(result.rows.front().front());
    ExpectEqual("query result", command.Arg(1), found);
}

void ScenarioRunner::ExpectLookup(const Command& command) {
    const auto& offer = Bill().LastLookupOffer();
    Expect(offer.has_value(), "a lookup window " + QuotedInput(command.Arg(0)), "none opened");
    ExpectEqual("lookup window", command.Arg(0), Join(*offer, "|"));
}

void ScenarioRunner::ExpectExportNote(const Command& command) {
    ExpectEqual("export note", command.Arg(0), Join(Bill().ExportTemplate(), "|"));
}

void ScenarioRunner::ExpectDialog(const Command& command) {
    ExpectEqual("item dialog", command.Arg(0), Join(m_session.TakeDialogNotes(), "|"));
}

void ScenarioRunner::ExpectBand(const Command& command) {
    const std::optional<std::string> tools = Bill().BandText(command.Arg(0));
    Expect(tools.has_value(), "band " + command.Arg(0), "no such band");
    ExpectEqual("band " + command.Arg(0), command.Arg(1), *tools);
}

}  // namespace velaqm::cli
