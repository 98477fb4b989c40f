#include "app/ShortCutTable.h"

#include <cstring>

#include "app/MenuActionList.h"

const std::array<ShortCutRow, ShortCutRowCount>& ShortCutTable()
{
    static constexpr std::array<ShortCutRow, ShortCutRowCount> rows = {{
        {"新規作成", "FileNew", "FileNew"},
        {"開く", "FileOpen", "FileOpen"},
        {"上書き保存", "FileSave1", "FileSave1"},
        {"元に戻す", "EditUndo1", "EditUndo1"},
        {"やり直し", "EditRedo1", "EditRedo1"},
        {"切り取り", "EditCut1", "EditCut1"},
        {"コピー", "EditCopy1", "EditCopy1"},
        {"貼り付け", "EditPaste1", "EditPaste1"},
        {"削除", "EditDelete1", "EditDelete1"},
        {"全て選択", "EditSelectAll1", "EditSelectAll"},
        {"検索", "SerchFind1", "SerchFind1"},
        {"置換", "SerchReplace1", "SerchReplace1"},
        {"次を検索", "SerchFindNext1", "SerchFindNext1"},
        {"マーキング", "SerchMarkup", "SerchMarkyo"},
        {"一つ上", "SerchUP", "SerchUP"},
        {"一つ下", "SerchDown", "SerchDown"},
        {"コンパイル", "RunLaTeX", "RunLaTeX"},
        {"DVIを表示", "RunDviOut", "RunDviOut"},
        {"外部コマンドの実行", "RunOutCommand", "RunOutCommand"},
        {"補完候補の更新", "RunUpdateList", "RunUpdateList"},
        {"コマンドの編集", "ToolCommand", "ToolCommand"},
        {"パスの編集", "ToolPath", "ToolPath"},
        {"ショートカットの編集", "ToolShortCut", "ToolShortCut"},
        {"サポートウインド表示", "DisplayStatus", "DisplayStatus"},
        {"ヘルプウインド表示", "ToolHelpWindow", "ToolHelpWindow"},
    }};
    return rows;
}

const char* ShortCutRow::Default() const
{
    for (const MenuActionEntry& entry : MenuActionList::Entries())
        if (std::strcmp(entry.Name, Action) == 0)
            return entry.Shortcut;
    return "";
}
