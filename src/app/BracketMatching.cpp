#include "app/BracketMatching.h"

#include <string_view>

#include "editor/TEditor.h"
#include "editor/core/LogicalLineReader.h"
#include "tex/TCorRelation.h"

const QString BracketMatching::kNoPartnerMessage = QStringLiteral("対応する括弧がありません。");

BracketMatching::BracketMatching(TEditor& editor, std::function<void(const QString&)> status, QObject* parent)
    : QObject(parent), editor_(editor), status_(std::move(status))
{
    connect(&editor_, &TEditor::CaretMoved, this, &BracketMatching::EditorCaretMoved);
    connect(&editor_, &TEditor::Changed, this, [this] { editor_.SetBracketHighlight({}); });
}

void BracketMatching::EditorCaretMoved()
{
    status_(QString());
    editor_.SetBracketHighlight({});
    TEditorCore& e = editor_.Core();
    // The character right of the caret, in the caret's logical line.
    const int line = e.RowToLine(e.Row());
    const int index = e.RowColToCharIndex(e.Row(), e.Col());
    if (index < 0)
        return;
    LogicalLineReader lines(e.Store());
    const std::string_view text = lines.Line(line);
    if (static_cast<std::size_t>(index) >= text.size())
        return;
    const char ch = text[static_cast<std::size_t>(index)];
    // The caret stands on a character start: the byte there is itself.
    if (std::string_view("([{)]}").find(ch) == std::string_view::npos)
        return;
    TCorRelation relation(e.Store());
    if (relation.Match(line, index))
        editor_.SetBracketHighlight({{relation.OpenLine, relation.OpenCol, relation.OpenBracket[0]},
                                     {relation.CloseLine, relation.CloseCol, relation.CloseBracket[0]}});
    else
        status_(kNoPartnerMessage);
}
