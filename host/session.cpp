#include "host/session.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>

#include "frame/convert.h"
#include "frame/messages.h"
#include "host/bill_form.h"
#include "host/catalog.h"
#include "host/components.h"
#include "host/form_window.h"
#include "host/list_form.h"
#include "host/parts/string_table.h"
#include "host/trace_log.h"

namespace velaqm::host {

namespace {

constexpr int kPointerHourglass = 11;
constexpr int kAnswerCancel = 2;
constexpr int kButtonsMask = 7;

}  // namespace

Session::Session(SessionOptions options)
    : m_options(std::move(options)),
      m_db(std::make_unique<Database>(m_options.database, OpenMode::kReadWrite)) {
    m_transcript.SetEcho(m_options.transcriptEcho);
    // A write-ahead log: readers in other velaqm processes do not block a writer, and a save
    // waits for the disk only at checkpoints; a crash of the session or of the machine loses
    // nothing committed before the last checkpoint and never corrupts the file.
    m_db->UseWriteAheadLog();
    m_db->ExecuteNative("PRAGMA synchronous=NORMAL;");
    m_db->SetClock([this] { return Now(); });
    if (m_options.traceFile) m_trace = std::make_unique<TraceLog>(*m_options.traceFile);
    InstallPlatform(this);
    ResetProcessState();  // the plug-ins start as in a new client process
}

Session::~Session() {
    CloseForm();
    ResetProcessState();
    InstallPlatform(nullptr);
}

void Session::Login(LoginInfo login) {
    CloseForm();
    m_login = std::move(login);
    m_strings.reset();
    ResetProcessState();  // a new login is a new client process for the plug-ins
    m_transcript.Add(EntryKind::Note, "login " + std::to_string(m_login.userId) + " " +
                                          m_login.userName + " subid=" + m_login.subId +
                                          " lang=" + m_login.language);
}

std::string Session::PropsString() const {
    return "ConnectString={Provider=VelaSQLite;Data Source=" + m_db->File() +
           ";Persist Security Info=False};SubID=" + m_login.subId +
           ";UserID=" + std::to_string(m_login.userId) + ";UserName=" + m_login.userName +
           ";Language=" + m_login.language;
}

void Session::SetToday(const Date& today) {
    m_today = today.DatePart();
}

Date Session::Now() {
    const Date now = LocalNow();
    if (!m_today) return now;
    return Date(m_today->Year(), m_today->Month(), m_today->Day(), now.Hour(), now.Minute(),
                now.Second());
}

StringTable& Session::Strings() {
    if (!m_strings)
        m_strings = std::make_unique<StringTable>(
            StringTable::Load(m_options.resourceDir, "VelaHYManufacture", m_login.language));
    return *m_strings;
}

std::optional<WindowChoice> Session::TakeChoice(std::string_view window) {
    if (m_choices.empty()) {
        AddProblem("the " + std::string(window) + " asked for a choice and none was given");
        return std::nullopt;
    }
    WindowChoice choice = std::move(m_choices.front());
    m_choices.pop_front();
    return choice;
}

std::optional<std::string> Session::TakeFormula() {
    if (m_formulas.empty()) {
        AddProblem("the formula editor opened and no formula was given");
        return std::nullopt;
    }
    auto formula = std::move(m_formulas.front());
    m_formulas.pop_front();
    return formula;
}

std::vector<std::string> Session::TakeProblems() {
    return std::exchange(m_problems, {});
}

BillForm& Session::OpenNewBill(int classTypeId) {
    CloseForm();
    m_bill = BillForm::Create(*this, classTypeId);
    m_bill->OpenNew();
    return *m_bill;
}

BillForm& Session::OpenBill(int classTypeId, int billId, bool readOnly) {
    CloseForm();
    m_bill = BillForm::Create(*this, classTypeId);
    try {
        m_bill->OpenSaved(billId, readOnly);
    } catch (...) {
        CloseForm();
        throw;
    }
    return *m_bill;
}

BillForm* Session::OpenPushedBill() {
    if (!m_pushDown) return nullptr;
    const PushDown push = std::move(*m_pushDown);
    m_pushDown.reset();
    BillForm& bill = OpenNewBill(push.targetClassTypeId);
    bill.FillPushedRows(push.sourceClassTypeId, push.rows);
    return &bill;
}

ListForm& Session::OpenList(int classTypeId) {
    CloseForm();
    m_list = ListForm::Create(*this, classTypeId);
    m_list->Open();
    return *m_list;
}

std::shared_ptr<const ClassDef> Session::ClassDefOf(int classTypeId) {
    auto& def = m_classDefs[classTypeId];
    if (!def) def = LoadClassDef(*m_db, classTypeId);
    return def;
}

void Session::CloseForm() {
    m_classDefs.clear();
    if (m_bill) m_bill->Close();
    if (m_list) m_list->Close();
    m_bill.reset();
    m_list.reset();
}

ObjectPtr Session::CreateObject(std::string_view progId) {
    return CreateComponent(*this, progId);
}

int Session::MessageBox(std::string_view text, int flags, std::string_view title) {
    m_transcript.AddMessage(std::string(text), flags, std::string(title));
    const int buttons = flags & kButtonsMask;
    if (buttons == 0) return kAnswerOk;
    if (m_answers.empty()) {
        AddProblem("a message box asked \"" + std::string(text) + "\" and no answer was given");
        return buttons == kMsgYesNo || buttons == 3 ? kAnswerNo : kAnswerCancel;
    }
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void Session::SetMousePointer(int pointer) {
    m_transcript.Add(EntryKind::Pointer, pointer == kPointerHourglass ? "hourglass" : "default");
}

std::string Session::ComputerName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0')
        throw HostError(kErrInvalidCall, "Session", "The computer name cannot be read");
    return name;
}

int Session::ProcessId() {
    return static_cast<int>(getpid());
}

std::string Session::ClientDirectory() {
    return m_options.programDir.string();
}

std::filesystem::path LocalPath(std::string_view path) {
    std::string local(path);
    std::replace(local.begin(), local.end(), '\\', '/');
    return local;
}

// A file is read-only when its owner may not write it; every other file reads as archived.
std::optional<int> Session::GetAttr(std::string_view path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(LocalPath(path), error);
    if (error || !fs::is_regular_file(status)) return std::nullopt;
    const bool writable = (status.permissions() & fs::perms::owner_write) != fs::perms::none;
    return writable ? kFileArchive : kFileArchive | kFileReadOnly;
}

void Session::SetAttr(std::string_view path, int attributes) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::permissions(LocalPath(path), fs::perms::owner_write,
                    attributes & kFileReadOnly ? fs::perm_options::remove : fs::perm_options::add,
                    error);
    if (error)
        throw HostError(kErrPermissionDenied, "Session", "Permission denied: " + std::string(path));
}

ObjectPtr Session::LoadResPicture(int resourceId) {
    if (resourceId != kLibraryBitmap)
        throw HostError(kErrResourceNotFound, "VelaQMBillEvent",
                        "Resource with identifier '" + std::to_string(resourceId) + "' not found");
    return std::make_shared<HostPicture>(resourceId);
}

FormWindowPtr Session::CreateFormWindow(FormWindowEvents& events) {
    return std::make_shared<HostFormWindow>(*this, events);
}

void Session::ShowHostError(std::string_view text) {
    m_transcript.AddMessage(std::string(text), kMsgCritical, "VelaQM");
}

}  // namespace velaqm::host
