#pragma once
#include <string>
#include <string_view>

// The user's choice of default applications, `mimeapps.list`: an INI-style
// file whose section "[Default Applications]" maps a MIME type to desktop
// entries ("text/x-tex=scrivlet.desktop;"). The edits here change only the
// lines of one type in that section and give back every other byte as it
// was, a damaged line or a missing final line break included.
namespace MimeAppsList {

constexpr std::string_view kDefaultSection = "Default Applications";

// The desktop entries a user default names for the type (the value as
// written, blanks around it removed); empty when there is none.
std::string DefaultFor(std::string_view text, std::string_view mimeType);

// The same for any section of this format ("Added Associations", or the
// "MIME Cache" of the desktop's mimeinfo.cache): the first line for the
// type with a value in a section of that name.
std::string ValueFor(std::string_view text, std::string_view section, std::string_view mimeType);

// The text without any default for the type.
std::string RemoveDefault(std::string_view text, std::string_view mimeType);

// The text with `desktopId` as the only default for the type: an existing
// default line is replaced in place, otherwise the line is added at the top
// of the first default section, which is appended when there is none.
std::string SetDefault(std::string_view text, std::string_view mimeType, std::string_view desktopId);

}  // namespace MimeAppsList
