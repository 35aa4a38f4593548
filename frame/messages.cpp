#include "frame/messages.h"

#include <cctype>

#include "frame/err.h"
#include "frame/error_policy.h"
#include "frame/login.h"
#include "frame/platform.h"
#include "frame/text_util.h"

namespace velaqm {

namespace {

constexpr int kPointerHourglass = 11;
constexpr int kPointerDefault = 0;

// Library-wide state: created on first use, kept until the library is unloaded.
struct ProcessState {
    std::string language;
    std::shared_ptr<ResLoader> loader;
    std::shared_ptr<FrmResLoader> formLoader;
    std::shared_ptr<LogMsg> log;
    bool logInitialised = false;
};

ProcessState& State() {
    // Never destroyed: it holds the client's components, which must not be released while the
    // library is being unloaded (the client may have gone already).
    static ProcessState* const state = new ProcessState;
    return *state;
}

bool IsSpace(char c) {
    return c == ' ';
}

// Counts the fresh process states, so that objects kept per process know when to load again.
int& Generation() {
    static int generation = 0;
    return generation;
}

}  // namespace

void ResetProcessState() {
    State() = ProcessState{};
    ++Generation();
}

int ProcessGeneration() {
    return Generation();
}

std::string GetLanguage() {
    ProcessState& state = State();
    try {
        if (state.language.empty()) {
            std::string language = GetPropValueSimple("Language");
            if (language.empty())
                language = CreateObject<LangInfo>(progid::kLangInfo)->CurrentLanguage();
            state.language = language;
        }
        return state.language;
    } catch (const std::exception&) {
        CurrentPlatform().MessageBox("Get Language Error!", 64, "CORVANE");
        return "chs";
    }
}

std::shared_ptr<ResLoader> GetStringLoader() {
    ProcessState& state = State();
    if (!state.loader) {
        state.loader = CreateObject<ResLoader>(progid::kResLoader);
        state.loader->SetResFileBaseName(kResFileBaseName);
        state.loader->SetLanguageID(GetLanguage());
        return state.loader;
    }
    if (state.loader->ResFileBaseName() != kResFileBaseName)
        state.loader->SetResFileBaseName(kResFileBaseName);
    if (state.loader->LanguageID() != state.language) state.loader->SetLanguageID(state.language);
    return state.loader;
}

std::string LoadCVString(std::string_view text, int kind) {
    ErrKeeper keepCallersError;
    std::size_t begin = 0;
    while (begin < text.size() && IsSpace(text[begin]))
        ++begin;
    std::size_t end = text.size();
    while (end > begin && IsSpace(text[end - 1]))
        --end;
    std::string leading(text.substr(0, begin));
    std::string core(text.substr(begin, end - begin));
    std::string trailing(text.substr(end));

    if (GetLanguage() == "en") {
        // Chars, not " ": GCC 12 -O3 warns falsely (-Wrestrict) on assigning the literal.
        if ((kind == kTextLeadingBlank || kind == kTextBothBlanks) && leading.empty())
            leading = ' ';
        if ((kind == kTextTrailingBlank || kind == kTextBothBlanks) && trailing.empty())
            trailing = ' ';
    }
    std::string translated = core;
    try {
        translated = GetStringLoader()->LoadString(core);
    } catch (const std::exception&) {
        // An untranslatable text is shown as written.
    }
    return leading + translated + trailing;
}

std::string FormatCVString(std::string_view text, std::initializer_list<std::string_view> args) {
    std::string result = LoadCVString(text, kTextPlain);
    int number = static_cast<int>(args.size());
    // From the highest number down, so that "%1" does not eat the start of "%10".
    for (auto arg = std::rbegin(args); arg != std::rend(args); ++arg, --number) {
        // A char, not "%": GCC 12 -O3 warns falsely (-Wrestrict) on "x" + string&&.
        result = ReplaceAll(result, '%' + std::to_string(number), *arg);
    }
    return result;
}

int ShowMessage(std::string_view text, int flags) {
    return CurrentPlatform().MessageBox(text, flags, LoadCVString(kMessageTitle, kTextPlain));
}

// A font that cannot be set (no loader, or a form the loader cannot take) leaves the form as it
// is: the form still loads.
void SetFormFont(const ObjectPtr& form) {
    ResumeNext([&] {
        ProcessState& state = State();
        if (!state.formLoader) state.formLoader = CreateObject<FrmResLoader>(progid::kFrmResLoader);
        state.formLoader->SetFrmFont(form, GetLanguage());
    });
}

int LogStart(std::string_view text) {
    ProcessState& state = State();
    if (!state.logInitialised) {
        state.logInitialised = true;
        try {
            state.log = CreateObject<LogMsg>(progid::kLogMsg);
        } catch (const std::exception&) {
            state.log.reset();  // no trace log: tracing stays off
        }
    }
    if (!state.log) return 0;
    if (!state.log->IsEnabled()) {
        state.log.reset();
        return 0;
    }
    return state.log->LogStart(text);
}

void LogEnd(int handle, int result) {
    ErrKeeper keepCallersError;
    ProcessState& state = State();
    try {
        if (state.log) state.log->LogEnd(handle, result);
    } catch (const std::exception&) {
        // A trace that cannot be closed is not the traced procedure's failure.
    }
}

WaitCursor::WaitCursor() {
    if (++m_count == 1) CurrentPlatform().SetMousePointer(kPointerHourglass);
}

WaitCursor::~WaitCursor() {
    try {
        if (m_count-- == 1) CurrentPlatform().SetMousePointer(kPointerDefault);
    } catch (...) {
        // A destructor must not throw; the pointer stays as it is.
    }
}

void Inform(std::string_view text) {
    ShowMessage(text, kMsgInformation);
}

std::string RowText(int row, std::string_view rest) {
    return LoadCVString("第", kTextTrailingBlank) + std::to_string(row) + LoadCVString(rest);
}

}  // namespace velaqm
