#include "app/MenuActionList.h"

#include <QAction>
#include <QKeySequence>

const QList<MenuActionEntry>& MenuActionList::Entries()
{
    static const QList<MenuActionEntry> entries = {
        {"FileNew", "ファイル", "新規作成(&N)", "ファイルの新規作成", "Ctrl+N", true},
        {"FileOpen", "ファイル", "開く(&O)", "ファイルを開く", "Ctrl+O", true},
        {"FileSave1", "ファイル", "上書き保存", "ファイルを現在のファイル名で保存", "Ctrl+S", true},
        {"FileSaveAs", "ファイル", "名前を付けて保存(&A)", "新しく別の名前を付けて保存する", "", false},
        {"FileExit", "ファイル", "終了(&X)", "終了させる", "", false},
        {"EditUndo1", "編集", "元に戻す(&U)", "元に戻す|直前の変更を元に戻す", "Ctrl+Z", true},
        {"EditRedo1", "編集", "やり直し(&R)", "やり直す", "Ctrl+Alt+Z", true},
        {"EditCut1", "編集", "切り取り(&T)", "切り取り|選択部分を切り取り、クリップボードに送る", "Ctrl+X", true},
        {"EditCopy1", "編集", "コピー(&C)", "コピー|選択部分をコピーし、クリップボードに送る", "Ctrl+C", true},
        {"EditPaste1", "編集", "貼り付け(&P)", "貼り付け|クリップボードの内容を貼り付ける", "Ctrl+V", true},
        {"EditDelete1", "編集", "削除(&D)", "削除|選択部分を削除する", "", true},
        {"EditSelectAll1", "編集", "すべてを選択(&A)", "すべてを選択|ドキュメント全体を選択する", "", true},
        {"EditComentIn", "編集", "行をコメント", "", "", false},
        {"EditCommentOut", "編集", "行を本文に", "", "", false},
        {"EditCutLine", "編集", "行を切り取り", "", "", false},
        {"EditMoveForward", "編集", "行頭に移動", "", "", false},
        {"EditMoveLast", "編集", "行末に移動", "", "", false},
        {"SerchFind1", "検索", "検索(&S)", "", "Ctrl+F", true},
        {"SerchReplace1", "検索", "置換(&R)", "", "Ctrl+R", true},
        {"SerchFindNext1", "検索", "次を検索", "", "F3", true},
        {"SerchMarkup", "検索", "マーキング", "マーキングの切り替えをします。", "Ctrl+M", true},
        {"SerchUP", "検索", "一つ上へ", "一つ上のSection等へカーソルを移動", "Ctrl+U", true},
        {"SerchDown", "検索", "一つ下へ", "すぐ下のマーキングへカーソルを移動", "Ctrl+D", true},
        {"RunLaTeX", "実行", "コンパイル", "LaTeXでコンパイルを実行", "Ctrl+F9", true},
        {"RunDviOut", "実行", "DVIを表示", "コンパイルした後、表示", "F9", true},
        {"RunOutCommand", "実行", "外部コマンドの実行", "", "F10", true},
        {"RunRenewSecLab", "実行", "セクション・ラベルの更新", "", "F11", false},
        {"RunUpdateList", "実行", "補完候補の更新(&U)", "", "F12", true},
        {"RunWordCount", "実行", "選択文字数カウント", "", "Ctrl+L", false},
        {"ToolCommand", "ツール", "補完候補の編集(&C)", "TeXコマンドを編集", "", true},
        {"ToolPath", "ツール", "設定(&P)", "LaTeXコマンドのパスの編集", "", true},
        {"ToolShortCut", "ツール", "ショートカットの編集(&S)", "", "", true},
        {"ToolKanren", "ツール", "関連付け(&K)", "TeXファイルへの関連づけのON/OFFを切り替えます。", "", false},
        {"ToolYohaku", "ツール", "余白設定", "", "", false},
        {"ToolHelpWindow", "ツール", "ヘルプウインドウ", "", "F4", true},
        {"DisplayStatus", "表示", "編集ツリーの表示", "", "", true},
        {"HelpContents1", "ヘルプ", "目次(&C)", "ヘルプの目次", "", false},
        {"HelpTopicSearch1", "ヘルプ", "トピックの検索(&T)", "トピックの検索", "", false},
        {"HelpVersion", "ヘルプ", "バージョン情報(&V)", "", "", false},
    };
    return entries;
}

MenuActionList::MenuActionList(QObject* owner)
{
    for (const MenuActionEntry& entry : Entries()) {
        auto* action = new QAction(QString::fromUtf8(entry.Caption), owner);
        const QString name = QString::fromLatin1(entry.Name);
        action->setObjectName(name);
        action->setProperty("category", QString::fromUtf8(entry.Category));
        const QString hint = QString::fromUtf8(entry.Hint);
        // A hint "short|long": the short part is the tool tip, the long one
        // the status tip.
        action->setToolTip(hint.section(QLatin1Char('|'), 0, 0));
        action->setStatusTip(hint.contains(QLatin1Char('|')) ? hint.section(QLatin1Char('|'), 1) : hint);
        if (*entry.Shortcut)
            action->setShortcut(QKeySequence(QString::fromLatin1(entry.Shortcut)));
        // Until its behaviour is connected, an action cannot be run.
        action->setEnabled(false);
        actions_[name] = action;
    }
}

QAction* MenuActionList::Action(const QString& name) const
{
    const auto found = actions_.find(name);
    return found == actions_.end() ? nullptr : found->second;
}

QList<QAction*> MenuActionList::Actions() const
{
    QList<QAction*> list;
    for (const MenuActionEntry& entry : Entries())
        list.append(Action(QString::fromLatin1(entry.Name)));
    return list;
}

bool MenuActionList::Run(const QString& name) const
{
    QAction* action = Action(name);
    if (!action || !action->isEnabled())
        return false;
    action->trigger();
    return true;
}
