#pragma once
#include "tex/TTeXCommand.h"

// The order the candidate lists are sorted in: the user locale's collation,
// case-sensitive, over the whole stored line (markers included), read as
// Shift-JIS. Lines that collate equal fall back to byte order, so that the
// order never depends on the input order.
TTeXCommand::Collation TeXCommandCollation();
