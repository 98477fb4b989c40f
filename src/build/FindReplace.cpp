#include "build/FindReplace.h"

#include "editor/core/TEditorCore.h"

namespace FindReplace {

bool Run(TEditorCore& editor, const Request& request)
{
    if (request.Pattern.empty())
        return false;
    const bool found = editor.Search(request.Pattern, kOptions);
    if (request.ReplaceMode && editor.SelLength() > 0)
        editor.SetSelText(request.Replacement);
    return found;
}

}  // namespace FindReplace
