// Runs scenario commands against a session at the substitute host, with the meaning each command
// has for a person at the form, and checks the expectations.
#pragma once

#include <map>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "cli/scenario.h"

namespace velaqm::host {
class BillForm;
class ListForm;
class Session;
}  // namespace velaqm::host

namespace velaqm::cli {

// An outcome other than the scenario expects: "what was expected, what was found". `line` is the
// line to blame when it is not the command's own (a message left unread at the end).
class ScenarioFailure : public std::runtime_error {
  public:
    explicit ScenarioFailure(const std::string& what, int line = 0)
        : std::runtime_error(what), m_message(what), m_line(line) {}
    int Line() const { return m_line; }
    // The whole text; what() ends at a NUL byte that a scenario's text may hold.
    const std::string& Message() const { return m_message; }

  private:
    std::string m_message;
    int m_line;
};

class ScenarioRunner {
  public:
    // `out` receives `show` and, with `echoCommands`, each command before it runs.
    // `language` is what `login` uses when it names none.
    ScenarioRunner(host::Session& session, std::ostream& out, bool echoCommands,
                   std::string language);

    // Throws ScenarioFailure for a failed expectation, a refused action, a host error, or a
    // window that asked for an answer the scenario did not give.
    void Run(const Command& command);
    // What must hold at the end of a file: every message box read, every queued answer taken.
    void Finish();
    // The message boxes shown since the last call, as the shell prints them.
    std::vector<std::string> TakeNewMessages();

  private:
    using Handler = void (ScenarioRunner::*)(const Command&);
    static const std::map<std::string, Handler, std::less<>>& Handlers();

    void Dispatch(Handler handler, const Command& command);
    host::BillForm& Bill() const;
    host::ListForm& List() const;
    int ResolveBillId(const Command& command) const;
    void NoteMessageLines(int line);

    void Login(const Command& command);
    void Today(const Command& command);
    void Sql(const Command& command);
    void New(const Command& command);
    void Open(const Command& command);
    void View(const Command& command);
    void OpenList(const Command& command);
    void Select(const Command& command);
    void Edit(const Command& command);
    void Enter(const Command& command);
    void Click(const Command& command);
    void Save(const Command& command);
    void Menu(const Command& command);
    void Answer(const Command& command);
    void Choose(const Command& command);
    void Formula(const Command& command);
    void Focus(const Command& command);
    void Close(const Command& command);
    void Show(const Command& command);
    void ExpectMessage(const Command& command);
    void ExpectNoMessage(const Command& command);
    void ExpectValue(const Command& command);
    void ExpectText(const Command& command);
    void ExpectTool(const Command& command);
    void ExpectField(const Command& command);
    void ExpectCell(const Command& command);
    void ExpectBill(const Command& command);
    void ExpectRows(const Command& command);
    void ExpectSaved(const Command& command);
    void ExpectNotSaved(const Command& command);
    void ExpectQuery(const Command& command);
    void ExpectLookup(const Command& command);
    void ExpectExportNote(const Command& command);
    void ExpectDialog(const Command& command);
    void ExpectBand(const Command& command);

    host::Session& m_session;
    std::ostream& m_out;
    bool m_echoCommands;
    std::string m_language;
    std::vector<int> m_messageLines;  // the line whose command showed each message box
    std::size_t m_messagesReported = 0;
};

}  // namespace velaqm::cli
