#include "tex/CharPos.h"

#include "editor/core/ShiftJis.h"

int FirstCharPos(char ch, std::string_view text)
{
    for (size_t i = 0; i < text.size(); i = NextCharStart(text, i))
        if (text[i] == ch && CharLength(text, i) == 1)
            return static_cast<int>(i) + 1;
    return 0;
}

int LastCharPos(char ch, std::string_view text)
{
    int last = 0;
    for (size_t i = 0; i < text.size(); i = NextCharStart(text, i))
        if (text[i] == ch && CharLength(text, i) == 1)
            last = static_cast<int>(i) + 1;
    return last;
}
