#pragma once
#include <string>

// The Japanese text of a system error number (errno), for the messages the
// user reads. The C library's own texts are English unless a Japanese locale
// happens to be installed, so the common cases are named here; any other
// number gives "システムエラー N".
std::string SystemErrorText(int error);
