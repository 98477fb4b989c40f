#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "app/EncodingGuess.h"
#include "app/FileLineBreaks.h"

class TEditorStrings;

// The document's file as the editor needs to know it to give its bytes back:
// its line breaks, whether its text ended at a Ctrl-Z, and what encoding its
// bytes look like. The text itself lives in the editor; nothing is ever
// converted, so a file loaded and saved without edits comes back byte for
// byte (only bytes after a Ctrl-Z, which the editor does not load, are lost).
class DocumentFile {
public:
    // A new document: LF breaks, no Ctrl-Z, Shift-JIS.
    DocumentFile() = default;

    // Reads the file at `path` through once to learn its format; nothing
    // else is touched. Throws EFileError when it cannot be read, is not a
    // regular file (a folder, a FIFO, a device), or holds more text than the
    // editor can.
    static DocumentFile Inspect(const std::string& path);

    // Loads the file's text into `lines` with the editor's own loader and
    // remembers what a save needs. Throws EFileError; `lines` may be empty
    // by then.
    void LoadText(const std::string& path, TEditorStrings& lines);

    // Writes `text` (the editor's text: lines joined by CR LF) to `path`
    // with this file's line breaks, and a Ctrl-Z after it when the loaded
    // text ended at one. The file is replaced atomically. Throws EFileError;
    // the file on disk and this object are then as they were.
    void Save(const std::string& path, std::string_view text);

    const FileLineBreaks& LineBreaks() const { return breaks_; }
    TextEncoding Encoding() const { return encoding_; }
    // The loaded text ended at a Ctrl-Z; saving writes one back after it.
    bool EndsAtEof() const { return endsAtEof_; }
    // Bytes after that Ctrl-Z, which the editor does not hold: the next
    // save drops them.
    int64_t BytesAfterEof() const { return bytesAfterEof_; }

private:
    FileLineBreaks breaks_;
    TextEncoding encoding_ = TextEncoding::ShiftJis;
    bool endsAtEof_ = false;
    int64_t bytesAfterEof_ = 0;
};
