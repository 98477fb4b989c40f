#pragma once
#include <string>
#include <string_view>
#include <vector>

// What the error list shows after a compile, read from the typesetter's log.
//
// Rows: for every line that begins with "!" (the last line excepted), that
// line and the three after it, one error entry of exactly four rows (rows past
// the end of the log are empty); then the log's last line. Every "!" line
// starts an entry, also one inside an earlier entry's four rows. An empty log
// gives one empty row.
//
// Entries: one per group of four rows, with the file the typesetter was
// reading when it reported the error and the line it named. The file comes
// from the log's parenthesis nesting: "(./chap1.tex" opens a file and its ")"
// closes it; parentheses that do not open a file name (messages, page marks
// glued to text) are counted so that their ")" closes nothing else. The line
// is N of the first "l.N" line after the entry's "!" line and before the next
// "!" line.
//
// Lines end at LF, CR LF or CR; a break at the very end does not begin
// another line. Text is Shift-JIS bytes and is never converted; the scans
// step over double-byte characters.
struct TypesetterLogEntry {
    // The file name as the log writes it ("./chap1.tex"), Shift-JIS bytes;
    // empty when the error was met outside any file the log opened.
    std::string FileName;
    // 1-based line number in that file; 0 when the entry names none.
    int Line = 0;
};

struct TypesetterLog {
    std::vector<std::string> Rows;
    std::vector<TypesetterLogEntry> Entries;  // Entries[k] covers Rows[4k .. 4k+3]
};

TypesetterLog ReadTypesetterLog(std::string_view log);

// Splits text into lines at LF, CR LF or CR, as the log is read.
std::vector<std::string_view> SplitLogLines(std::string_view text);

// The line number of an "l.N" context line ("l.12 \foo" gives 12), or 0 when
// the line is not one.
int ContextLineNumber(std::string_view line);
