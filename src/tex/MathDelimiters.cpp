#include "tex/MathDelimiters.h"

std::vector<std::string> DefaultBeginMath()
{
    return {
        "\\[",
        "\\begin{eqnarray}",
        "\\begin{math}",
        "\\(",
        "\\begin{displaymath}",
        "\\begin{equation}",
        "\\begin{eqnarray*}",
        "\\begin{multiline}",
        "\\begin{gather}",
        "\\begin{gather*}",
        "\\begin{alignat}",
        "\\begin{falign}",
        "\\begin{cases}",
        "\\begin{align}",
        "\\begin{align*}",
    };
}

std::vector<std::string> DefaultEndMath()
{
    return {
        "\\]",
        "\\end{eqnarray}",
        "\\end{math}",
        "\\)",
        "\\end{displaymath}",
        "\\end{equation}",
        "\\end{eqnarray*}",
        "\\end{multiline}",
        "\\end{gather}",
        "\\end{gather*}",
        "\\end{alignat}",
        "\\end{falign}",
        "\\end{cases}",
        "\\end{align}",
        "\\end{align*}",
    };
}
