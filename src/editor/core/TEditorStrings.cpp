#include "editor/core/TEditorStrings.h"

#include "editor/core/AttachedEditor.h"
#include "editor/core/EListError.h"

void TEditorStrings::CheckLine(int index, bool allowEnd) const
{
    const int n = GetCount();
    if (index < 0 || index > n || (index == n && !allowEnd))
        throw EListError();
}

void TEditorStrings::ClearSelection()
{
    if (editor_)
        editor_->ClearSelection();
}

void TEditorStrings::CaretTo(int row, int index)
{
    if (editor_)
        editor_->SetCaretByIndex(row, index);
}

std::string TEditorStrings::Get(int index) const
{
    CheckLine(index, false);
    if (!store_.WordWrap())
        return store_.Get(index);
    std::string text = store_.RowsText(store_.LineToRow(index), -1).Text;
    while (text.size() >= 2 && text[text.size() - 1] == '\n' && text[text.size() - 2] == '\r')
        text.resize(text.size() - 2);
    return text;
}

void TEditorStrings::Put(int index, const std::string& s)
{
    CheckLine(index, false);
    ClearSelection();
    const int a = store_.LineToRow(index);
    const int b = store_.LineEndRow(a);
    std::string text = s;
    if (store_.GetRowAttribute(b) == raLineBreak)
        text += "\r\n";
    store_.ReplaceRows(a, b - a + 1, text);
    CaretTo(a, static_cast<int>(s.size()));
}

void TEditorStrings::Insert(int index, const std::string& s)
{
    CheckLine(index, true);
    const int row = store_.LineToRow(index);
    if (row == store_.GetCount()) {
        Add(s);
        return;
    }
    ClearSelection();
    store_.ReplaceRows(row, 0, s + "\r\n");
    CaretTo(row, static_cast<int>(s.size()) + 2);
}

int TEditorStrings::Add(const std::string& s)
{
    ClearSelection();
    const int before = GetCount();
    const int rows = store_.GetCount();
    if (rows > 0 && store_.GetRowAttribute(rows - 1) != raLineBreak) {
        const int start = store_.LineStartRow(rows - 1);
        TRowsText last = store_.RowsText(start, rows - start);
        std::string text = last.Text + "\r\n" + s;
        store_.ReplaceRows(start, rows - start, text);
        CaretTo(start, static_cast<int>(text.size()));
    } else {
        store_.ReplaceRows(rows, 0, s);
        CaretTo(rows, static_cast<int>(s.size()));
    }
    return before;
}

void TEditorStrings::Delete(int index)
{
    CheckLine(index, false);
    ClearSelection();
    const int a = store_.LineToRow(index);
    const int first = store_.LineStartRow(a);
    const int last = store_.LineEndRow(a);
    store_.ReplaceRows(first, last - first + 1, std::nullopt);
    if (editor_) {
        editor_->SetCaretRow(a);
        editor_->SetCaretCol(0);
    }
}

void TEditorStrings::SetTextStr(std::string_view text)
{
    TUpdateBlock block(*this);
    store_.Clear();
    store_.SetPlainText(text);
    store_.AfterWholeTextChange();
}

void TEditorStrings::Assign(const TStrings& source)
{
    std::string text;
    const int n = source.GetCount();
    for (int i = 0; i < n; ++i) {
        text += source.Get(i);
        text += "\r\n";
    }
    SetTextStr(text);
    if (editor_) {
        editor_->SetCaretRow(store_.GetCount());
        editor_->SetCaretCol(0);
    }
}

TLoadResult TEditorStrings::LoadFromFile(const std::string& path)
{
    TUpdateBlock block(*this);
    TLoadResult result = store_.LoadRowsFromFile(path);
    store_.AfterWholeTextChange();
    return result;
}

void TEditorStrings::SetUpdateState(bool updating)
{
    if (updating) {
        store_.BeginUpdate();
        if (editor_)
            editor_->BeginLinesUpdate();
    } else {
        store_.EndUpdate();
        if (editor_)
            editor_->EndLinesUpdate();
    }
}
