#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "output/check_outcome.h"
#include "output/result_document.h"
#include "output/run_failure.h"

namespace tavorine {

// The texts a run shows of a system's check, made from its outcome.

// The whole result document of a system that answered every call: the text
// and the four channels "Abap Tables missing", "Abap Primary missing",
// "Abap Indexes missing", "Abap Views missing".
void WriteMissingObjectsDocument(ResultDocument& document, std::string_view destination,
                                 const DictionaryState& state);

// The failed call's error text (Errors 1012 to 1015); empty when no call failed.
std::string CallErrorText(const SystemOutcome& outcome);

// The message a failed check ends a single run with: the logon's own
// message or Error 1011, a failed call's error text followed by traceText
// (what the trace file tells), Error 1018. With detail Error 1011 too ends
// with traceText, and the message is cut to what the monitor shows. Empty
// when the check succeeded.
std::optional<RunFailure> SingleRunFailure(const SystemOutcome& outcome, std::string_view destination,
                                           std::string_view traceText, bool detail);

// Whether the single run's message of the outcome takes the trace file's text.
bool TakesTraceText(const SystemOutcome& outcome, bool detail);

// Whether the check's failure ends a whole group run (a failed CPU read or
// system information call, a database that is not DB4) rather than failing
// its system only; and then the message, as in a single run.
std::optional<RunFailure> GroupRunFailure(const SystemOutcome& outcome, std::string_view traceText);

// The line with which a run that printed progress lines ends: an empty line,
// then "* hh:mm:ss SAP Tavorine now processed...".
std::string NowProcessedLine(std::string_view time);

}  // namespace tavorine
