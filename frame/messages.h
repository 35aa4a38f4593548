// Messages, localized strings, the hourglass and the trace log. Every user-visible text is
// written in Chinese in the code and translated at run time by the host's string loader; every
// message box carries the library's title.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "frame/host_services.h"
#include "frame/object.h"

namespace velaqm {

// Text kinds of LoadCVString: which blanks the English text needs around it.
inline constexpr int kTextPlain = 0;
inline constexpr int kTextLeadingBlank = 1;
inline constexpr int kTextTrailingBlank = 2;
inline constexpr int kTextBothBlanks = 3;

// The base name of the library's string resources.
inline constexpr std::string_view kResFileBaseName = "VelaHYManufacture";
// The title of every message box, before translation.
inline constexpr std::string_view kMessageTitle = "岚舟提示";

// The text in the current language; a failing loader leaves the text as written. The caller's
// pending error is kept.
std::string LoadCVString(std::string_view text, int kind = kTextPlain);
// LoadCVString(text), then "%1", "%2", ... replaced by the arguments in order.
std::string FormatCVString(std::string_view text, std::initializer_list<std::string_view> args);
// A message box with the library's title; returns the button pressed.
int ShowMessage(std::string_view text, int flags);
// An information box (the text as it stands: load it first).
void Inform(std::string_view text);
// "第" + row + rest, each piece in the user's language: the start of a message about a row.
std::string RowText(int row, std::string_view rest);

std::string GetLanguage();
std::shared_ptr<ResLoader> GetStringLoader();
// Sets the form's fonts for the current language; every form of the library calls it on load.
// A failure becomes the pending error and the form keeps its fonts.
void SetFormFont(const ObjectPtr& form);

// The trace log: LogStart returns a handle (0 when tracing is off).
int LogStart(std::string_view text);
void LogEnd(int handle, int result);

// The trace entry of one run of a traced procedure, ended on every way out with result 0, or
// with the result set since (1 for a run that failed).
class TraceScope {
  public:
    explicit TraceScope(std::string_view tag) : m_handle(LogStart(tag)) {}
    ~TraceScope() { LogEnd(m_handle, m_result); }
    TraceScope(const TraceScope&) = delete;
    TraceScope& operator=(const TraceScope&) = delete;
    void SetResult(int result) { m_result = result; }

  private:
    int m_handle;
    int m_result = 0;
};

// Forgets the per-process state (language, loaders, trace log), as unloading the library does.
// The substitute host calls it between sessions.
void ResetProcessState();
// Counts the resets: what a plug-in keeps for the whole process is made anew when it changes.
int ProcessGeneration();

// Shows the hourglass while alive.
class WaitCursor {
  public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    int m_count = 0;
};

}  // namespace velaqm
