#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// One candidate list of TeX commands: the entries of one list file.
//
// A list file is Shift-JIS text, one entry per line; CR LF, a lone CR and a
// lone LF all end a line when it is read, and every line written ends with
// CR LF. Inside an entry three two-byte markers give it its structure:
//
//   ESC 'c'  the caret's place in the command part after insertion
//   ESC 'h'  ends the command part; the help part follows
//   ESC 'n'  a line break inside the command part or the help part
//
// An entry is: command part, help separator, help part. Its display name is
// the command part's first line without caret markers (NameOf).
//
// Entries and Names are kept parallel: item i of Names is always NameOf of
// item i of Entries.
class TTeXCommand {
public:
    static constexpr std::string_view CaretMarker = "\x1b" "c";
    static constexpr std::string_view HelpSeparator = "\x1b" "h";
    static constexpr std::string_view LineBreakMarker = "\x1b" "n";

    // Orders two stored lines: negative, zero or positive. The program gives
    // the user locale's case-sensitive collation (TeXCommandCollation.h).
    using Collation = std::function<int(const std::string&, const std::string&)>;
    // Plain byte order, for tests and as the fallback.
    static int ByteCollation(const std::string& a, const std::string& b);

    // Loads `folder`/`fileName`. A file that is missing or cannot be read
    // gives an empty list and LoadError() says why; nothing is thrown.
    TTeXCommand(std::string folder, std::string fileName, Collation collation = ByteCollation);

    // The list file's name without folder, as given at creation.
    const std::string& FileName() const { return fileName_; }
    // Folder and file name joined: where the list is read and saved.
    std::string Path() const;
    const std::vector<std::string>& Entries() const { return entries_; }
    const std::vector<std::string>& Names() const { return names_; }
    int Count() const { return static_cast<int>(entries_.size()); }

    // Empty when the file was read; else the reason it could not be (the
    // system's explanation, in Japanese).
    const std::string& LoadError() const { return loadError_; }

    // Names from Entries again, in order.
    void RebuildNames();
    // Writes every entry followed by CR LF, replacing the file at once: a
    // failed save throws EFileError and leaves the old file as it was.
    void SaveList() const;
    // Appends `text` with each CR LF turned into a line-break marker, sorts
    // and rebuilds the names.
    void AddEntry(std::string_view text);
    // Removes entry `index` and its name; an index out of range does nothing.
    void DeleteEntry(int index);
    // Sorts the entries by the whole stored line with the collation, and
    // rebuilds the names.
    void Sort();
    // The first entry whose display name is exactly `name`; -1 when none.
    int IndexOfName(std::string_view name) const;

    // The display name of an entry: without caret markers, cut at the help
    // separator (no separator: empty), then at the first line break marker.
    static std::string NameOf(std::string_view entry);
    // The lines of a command part (already cut at the help separator)
    // without markers. `col` and `line` get the caret marker's byte offset
    // and line: with one line, line 0 and col -1 when it has no marker; with
    // several, the last line that holds a marker wins, and both keep the
    // values passed in when none does.
    static std::vector<std::string> SplitCommand(std::string_view text, int& col, int& line);

    // The parts of an entry: before and after its first help separator (the
    // help part is empty without one).
    static std::string_view CommandPart(std::string_view entry);
    static std::string_view HelpPart(std::string_view entry);
    // Every marker of `kind` replaced by `with`.
    static std::string ReplaceMarker(std::string_view text, std::string_view kind, std::string_view with);

    // The lines of a list file's bytes; CR LF, CR and LF each end a line,
    // and a final line without an end counts like one with it.
    static std::vector<std::string> SplitFileLines(std::string_view bytes);

private:
    std::string folder_;
    std::string fileName_;
    Collation collation_;
    std::vector<std::string> entries_;
    std::vector<std::string> names_;
    std::string loadError_;
};
