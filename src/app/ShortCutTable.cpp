#include "app/ShortCutTable.h"

const std::array<ShortCutRow, ShortCutRowCount>& ShortCutTable()
{
    static constexpr std::array<ShortCutRow, ShortCutRowCount> rows = {{
        {"新規作成", "FileNew", "FileNew", "Ctrl+N"},
        {"開く", "FileOpen", "FileOpen", "Ctrl+O"},
        {"上書き保存", "FileSave1", "FileSave1", "Ctrl+S"},
        {"元に戻す", "EditUndo1", "EditUndo1", "Ctrl+Z"},
        {"やり直し", "EditRedo1", "EditRedo1", "Ctrl+Alt+Z"},
        {"切り取り", "EditCut1", "EditCut1", "Ctrl+X"},
        {"コピー", "EditCopy1", "EditCopy1", "Ctrl+C"},
        {"貼り付け", "EditPaste1", "EditPaste1", "Ctrl+V"},
        {"削除", "EditDelete1", "EditDelete1", ""},
        {"全て選択", "EditSelectAll1", "EditSelectAll", ""},
        {"検索", "SerchFind1", "SerchFind1", "Ctrl+F"},
        {"置換", "SerchReplace1", "SerchReplace1", "Ctrl+R"},
        {"次を検索", "SerchFindNext1", "SerchFindNext1", "F3"},
        {"マーキング", "SerchMarkup", "SerchMarkyo", "Ctrl+M"},
        {"一つ上", "SerchUP", "SerchUP", "Ctrl+U"},
        {"一つ下", "SerchDown", "SerchDown", "Ctrl+D"},
        {"コンパイル", "RunLaTeX", "RunLaTeX", "Ctrl+F9"},
        {"DVIを表示", "RunDviOut", "RunDviOut", "F9"},
        {"外部コマンドの実行", "RunOutCommand", "RunOutCommand", "F10"},
        {"補完候補の更新", "RunUpdateList", "RunUpdateList", "F12"},
        {"コマンドの編集", "ToolCommand", "ToolCommand", ""},
        {"パスの編集", "ToolPath", "ToolPath", ""},
        {"ショートカットの編集", "ToolShortCut", "ToolShortCut", ""},
        {"サポートウインド表示", "DisplayStatus", "DisplayStatus", ""},
        {"ヘルプウインド表示", "ToolHelpWindow", "ToolHelpWindow", "F4"},
    }};
    return rows;
}
