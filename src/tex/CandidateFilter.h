#pragma once
#include <string>
#include <string_view>
#include <vector>

// Narrowing the completion list as the user types.
//
// The typed text is compared with each display name, both upper-cased
// (Latin letters of single-byte characters only; the bytes of double-byte
// characters stay as they are), as a substring that starts and ends on
// character boundaries of the name: "\sec" offers \section and \subsection,
// "\right" offers \left( \right).

// Latin letters of single-byte characters upper-cased.
std::string AnsiUpper(std::string_view text);

// Whether `upperTyped` (already upper-cased) occurs in `name`.
bool NameContains(std::string_view name, std::string_view upperTyped);

// What the list shows after a change of the caret's line.
struct CandidateFilterResult {
    bool show = false;               // false: hide the list
    std::vector<std::string> names;  // the names to show, in list order
};

// The filtering that follows every change of the text. `line` is the
// caret's logical line (nullptr when the caret is on the row after the
// last line), `caret` the caret index at which the change was made (the
// typed character stands at byte `caret`), `templates` whether the
// template list is active, `names` the active list's display names.
//
// With a backslash on the line, the typed text runs from the last
// backslash before the typed character through that character; the list
// hides when the line's first backslash lies after it. Otherwise, for
// templates, the whole line is matched once it holds a "%" (the list stays
// shown, empty, while that "%" lies after the typed character). Anything
// else hides the list.
CandidateFilterResult FilterCandidates(const std::string* line, int caret, bool templates,
                                       const std::vector<std::string>& names);
// The same for a line that is there, read in place.
CandidateFilterResult FilterCandidates(std::string_view line, int caret, bool templates,
                                       const std::vector<std::string>& names);
