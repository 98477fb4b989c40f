#pragma once
#include <string>
#include <string_view>

// Document paths are byte strings: the bytes the system gave (the command
// line, a dialog, a drop, the stored history), never decoded and encoded
// again, so that a file whose name is not UTF-8 (Shift-JIS names are common
// in archives made on Windows) is opened and saved under its own name.
// DisplayPathText shows them. Every rule here works on bytes; '/' and '.'
// are never the second byte of a Shift-JIS character.
namespace DocumentPath {

// `path` made absolute against the current folder, with "." parts and
// repeated slashes dropped. ".." is kept, since lexically removing it is
// wrong after a symbolic link.
std::string Absolute(std::string_view path);

// The folder part of `path` with its final slash: "/a/b.tex" gives "/a/";
// a bare name gives "".
std::string FolderOf(std::string_view path);

// Whether the last four bytes, in ASCII lower case, are ".tex".
bool IsTexFileName(std::string_view path);

// Whether the last part of `path` has an extension: a dot that does not
// start the name, with something after it.
bool HasExtension(std::string_view path);

// The one rule by which the reopen history knows two entries for the same
// file, during a run and when the stored history is read: the same bytes.
// File names on this system are case-sensitive bytes, so a.tex and A.tex
// are two files.
bool Same(std::string_view a, std::string_view b);

}  // namespace DocumentPath
