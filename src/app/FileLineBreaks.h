#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The line breaks of a document file, and how the editor's text goes back to
// the file with them.
//
// The editor holds every line break as CR LF. A file keeps its own
// convention: a file whose breaks are all LF is saved with LF, all CR LF with
// CR LF, all CR with CR. A new document, and a file without any line break,
// gets LF for the breaks the user types.
//
// A mixed file (breaks of more than one kind: a stray lone CR in an LF file
// counts, since the editor splits lines there too) never loses text: every
// break stays a break. The file's text is remembered as the editor holds it,
// and on save the unchanged start and end of the document keep each break's
// own bytes; breaks in the part that was edited take the file's most common
// kind (LF on a tie with either other kind, CR LF over CR). A mixed file
// saved without edits therefore comes back byte for byte.
enum class LineBreak : uint8_t { CrLf, Lf, Cr };

// The bytes of one break.
std::string_view LineBreakBytes(LineBreak kind);

class FileLineBreaks {
public:
    // A new document: LF, nothing seen.
    FileLineBreaks() = default;

    // Counts the breaks of a file's bytes fed in pieces, splitting lines as
    // the editor's loader does (CR LF, lone CR, lone LF). A CR at the end of
    // one piece pairs with an LF at the start of the next.
    class Scanner {
    public:
        void Feed(std::string_view bytes);
        FileLineBreaks Finish();

    private:
        void Add(LineBreak kind);

        size_t counts_[3] = {0, 0, 0};
        bool pendingCr_ = false;
        bool mixed_ = false;
        LineBreak first_ = LineBreak::Lf;
        std::vector<LineBreak> kinds_;  // only once a second kind was seen
    };

    // The kind new breaks get.
    LineBreak Style() const { return style_; }
    bool Mixed() const { return mixed_; }
    size_t Count(LineBreak kind) const { return counts_[static_cast<int>(kind)]; }
    size_t BreakCount() const { return counts_[0] + counts_[1] + counts_[2]; }

    // For a mixed file: the text as the editor holds it right after loading.
    // When its breaks do not match the scanned ones (the file changed between
    // the scan and the load) the per-break memory is dropped, and every break
    // gets Style().
    void RememberLoadedText(std::string text);

    // Writes `text` (lines joined by CR LF, as the editor holds them) to
    // `sink` in pieces, with this file's breaks. Returns what the written
    // file then is, for the next save; this object is left as it was, so
    // that a save that fails later changes nothing.
    FileLineBreaks Write(std::string_view text, const std::function<void(std::string_view)>& sink) const;

private:
    size_t counts_[3] = {0, 0, 0};
    LineBreak style_ = LineBreak::Lf;
    bool mixed_ = false;
    // A mixed file only: its text as the editor holds it, and the kind of
    // each of its breaks in order.
    std::string text_;
    std::vector<LineBreak> kinds_;
};
