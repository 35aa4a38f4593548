// One working session at the substitute host: the database, who is logged in, the date, the
// answers a person gives to message boxes and dialogs, the transcript, and the one open form.
// The session is the process's platform while it lives: plug-ins create their components and
// show their message boxes through it.
#pragma once

#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "frame/date.h"
#include "frame/platform.h"
#include "host/db/database.h"
#include "host/transcript.h"

namespace velaqm::host {

class BillForm;
struct ClassDef;
class ListForm;
class StringTable;
class TraceLog;

struct LoginInfo {
    int userId = 16394;
    std::string userName = "morgan";
    std::string subId = "qm";
    std::string language = "chs";
    bool allRights = true;  // false: only the rights granted in t_AccessRight
};

// What a person does in a selection window: picks bills, leaves with the window's exit
// button, or closes it with the close box.
struct WindowChoice {
    enum class Kind { Bills, Exit, Close };
    Kind kind = Kind::Exit;
    std::vector<std::string> billNumbers;  // Bills only
    std::vector<int> ids{};                // Bills only: chosen by internal ID
};

struct SessionOptions {
    std::filesystem::path database;     // an existing database file
    std::filesystem::path programDir;   // the client program's directory
    std::filesystem::path resourceDir;  // the string tables
    std::optional<std::filesystem::path> traceFile;
    std::ostream* transcriptEcho = nullptr;
};

// A client path ("\" between folders) as a path of this machine.
std::filesystem::path LocalPath(std::string_view path);

class Session final : public Platform {
  public:
    explicit Session(SessionOptions options);
    ~Session() override;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Who works: a new login starts the client afresh (language, loaders, trace log).
    void Login(LoginInfo login);
    const LoginInfo& User() const { return m_login; }
    // The property string the host publishes for this login.
    std::string PropsString() const;

    // The date of the server and the client from now on.
    void SetToday(const Date& today);

    Database& Db() { return *m_db; }
    // The template of a class type, read once per opened form: components working for the
    // plug-ins (audit, deletion) look it up for every bill.
    std::shared_ptr<const ClassDef> ClassDefOf(int classTypeId);
    Transcript& Log() { return m_transcript; }
    StringTable& Strings();
    const SessionOptions& Options() const { return m_options; }

    // The answers a person would give, taken in order by the windows that ask.
    void QueueAnswer(int button) { m_answers.push_back(button); }
    void QueueChoice(WindowChoice choice) { m_choices.push_back(std::move(choice)); }
    void QueueFormula(std::optional<std::string> formula) {
        m_formulas.push_back(std::move(formula));
    }
    // A window that asks when nothing was queued records a problem and gets nothing.
    std::optional<WindowChoice> TakeChoice(std::string_view window);
    std::optional<std::string> TakeFormula();
    // What went wrong while the plug-ins ran (a question nobody answered); emptied by reading.
    std::vector<std::string> TakeProblems();
    void AddProblem(std::string problem) { m_problems.push_back(std::move(problem)); }
    // What the item dialogs were given since the last reading, in order; emptied by reading.
    void NoteDialog(std::string note) { m_dialogNotes.push_back(std::move(note)); }
    std::vector<std::string> TakeDialogNotes() { return std::exchange(m_dialogNotes, {}); }
    std::size_t PendingAnswers() const {
        return m_answers.size() + m_choices.size() + m_formulas.size();
    }

    // The one open form; opening another closes it.
    BillForm& OpenNewBill(int classTypeId);
    BillForm& OpenBill(int classTypeId, int billId, bool readOnly);
    ListForm& OpenList(int classTypeId);
    void CloseForm();
    BillForm* CurrentBill() const { return m_bill.get(); }

    // A push tool of a list asks for a new bill of the target class filled from the selected
    // rows; the bill opens once the list's click is over (opening it closes the list).
    struct PushDown {
        int sourceClassTypeId = 0;
        int targetClassTypeId = 0;
        VectorPtr rows;
    };
    void PushDownLater(PushDown push) { m_pushDown = std::move(push); }
    // Opens the bill a push asked for, if one did; null otherwise.
    BillForm* OpenPushedBill();
    ListForm* CurrentList() const { return m_list.get(); }

    // Platform
    ObjectPtr CreateObject(std::string_view progId) override;
    int MessageBox(std::string_view text, int flags, std::string_view title) override;
    void SetMousePointer(int pointer) override;
    void DoEvents() override {}
    std::string ComputerName() override;
    int ProcessId() override;
    Date Now() override;
    // The program directory of the options; "\" in paths reads as "/".
    std::string ClientDirectory() override;
    std::optional<int> GetAttr(std::string_view path) override;
    void SetAttr(std::string_view path, int attributes) override;
    // The library's one bitmap, resource 1, as a picture that names its resource.
    ObjectPtr LoadResPicture(int resourceId) override;
    FormWindowPtr CreateFormWindow(FormWindowEvents& events) override;

    // A message box the host itself shows (an error a plug-in passed back, a failed save).
    void ShowHostError(std::string_view text);
    TraceLog* Trace() { return m_trace.get(); }

  private:
    SessionOptions m_options;
    std::unique_ptr<Database> m_db;
    LoginInfo m_login;
    std::optional<Date> m_today;
    Transcript m_transcript;
    std::unique_ptr<StringTable> m_strings;
    std::unique_ptr<TraceLog> m_trace;
    std::deque<int> m_answers;
    std::deque<WindowChoice> m_choices;
    std::deque<std::optional<std::string>> m_formulas;
    std::vector<std::string> m_problems;
    std::vector<std::string> m_dialogNotes;
    std::map<int, std::shared_ptr<const ClassDef>> m_classDefs;
    std::shared_ptr<BillForm> m_bill;
    std::shared_ptr<ListForm> m_list;
    std::optional<PushDown> m_pushDown;
};

}  // namespace velaqm::host
