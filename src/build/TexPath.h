#pragma once
#include <string>
#include <string_view>

// Path pieces as the build tools use them: byte strings with '/' between
// parts ('/' is never the second byte of a Shift-JIS character).
namespace TexPath {

// "a/./b/../c" gives "a/c"; a leading "/" stays; ".." above the start stays.
std::string Normalize(std::string_view path);
// The folder part without its final slash; "" for a bare name.
std::string FolderOf(std::string_view path);
// `name` taken from `folder`: an absolute name, or an empty folder, gives
// the name itself.
std::string Join(std::string_view folder, std::string_view name);
// Everything after the last slash.
std::string_view FileNamePart(std::string_view path);
// Whether the last four bytes are ".tex" in any ASCII case.
bool EndsWithTex(std::string_view path);
// `path` relative to `folder` when it lies inside it; otherwise `path`.
std::string RelativeTo(std::string_view folder, std::string_view path);

}  // namespace TexPath
