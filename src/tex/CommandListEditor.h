#pragma once
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tex/TTeXCommand.h"

// What the command-list editor does to its own four candidate lists, apart
// from its window: loading them when it is shown, the entry under edit split
// into editor lines and help, a new entry made of the editor's lines, the
// caret's place and the help text, deleting, and saving all four on OK.
//
// The lists are addressed by the radio group's item index:
//   0 "初期化等コマンド"  TeX_Command_SP.txt
//   1 "通常コマンド"      TeX_Command.txt
//   2 "数学コマンド"      TeX_Command_Math.txt
//   3 "テンプレート"      TeX_Template.txt
// They are created, and saved, in the order TeX_Command.txt, TeX_Command_SP.txt,
// TeX_Command_Math.txt, TeX_Template.txt.
class CommandListEditor {
public:
    static constexpr int kItemCount = 4;
    // The list file of radio item `item` (0..3).
    static const char* FileOfItem(int item);

    // A list file that could not be read or written, and why.
    struct FileProblem {
        std::string Path;
        std::string Reason;
    };

    // The entry under edit, as the editor and the help box show it.
    struct EditText {
        std::vector<std::string> Lines;  // the command part's lines, markers removed
        int CaretLine = 0;               // where the caret marker was
        int CaretOffset = 0;             // its byte offset in that line; -1 for none
        std::string Help;                // the help part, its lines joined by LF
    };

    CommandListEditor(std::string folder, TTeXCommand::Collation collation);

    // Creates the four lists from their files. A missing file gives an empty
    // list. A file that exists but cannot be read also gives an empty list,
    // which Save leaves alone unless the user changes it; those files are
    // returned, so the window can say so.
    std::vector<FileProblem> Load();
    // Frees the lists without writing anything.
    void Discard();
    bool Loaded() const { return loaded_; }

    TTeXCommand& List(int item);
    // Sorts the item's list and rebuilds its names; they are what the list
    // box shows, entry i at row i.
    const std::vector<std::string>& Update(int item);

    // The editor's and the help box's content for entry `index` of the
    // item's list; nothing when there is no such entry.
    bool Open(int item, int index, EditText& text);

    // Adds the entry made of the editor's `lines`, with the caret marker at
    // byte `caretOffset` of line `caretLine` (a caretLine of lines.size() is
    // the row after the last line: the marker becomes a new last line), and
    // `help` (lines ending with LF, CR LF or CR). Nothing is added when the
    // first line is empty or missing; returns whether an entry was added.
    bool Add(int item, std::vector<std::string> lines, int caretLine, int caretOffset, std::string_view help);
    // Removes entry `index` of the item's list; an index out of range does nothing.
    void Delete(int item, int index);

    // Writes every list in creation order. Lists whose file could not be read
    // are written only when changed. Returns the files that could not be
    // written; the lists stay loaded either way.
    std::vector<FileProblem> Save();

    // The entry text Add stores for these parts: the lines joined by CR LF
    // with the caret marker inserted, the help separator, the help with its
    // line breaks as line-break markers.
    static std::string ComposeEntry(std::vector<std::string> lines, int caretLine, int caretOffset,
                                    std::string_view help);

private:
    static int SlotOfItem(int item);

    std::string folder_;
    TTeXCommand::Collation collation_;
    std::array<std::unique_ptr<TTeXCommand>, kItemCount> lists_;  // creation order
    std::array<bool, kItemCount> unread_{};   // the file exists but could not be read
    std::array<bool, kItemCount> changed_{};  // an entry was added or deleted
    bool loaded_ = false;
};
