#include "app/EditingAidActions.h"

#include <QApplication>
#include <QMessageBox>

#include "app/MarkingImage.h"
#include "build/Markings.h"
#include "dialogs/TFormFindReplace.h"
#include "dialogs/TFormYohaku.h"
#include "editor/TEditor.h"
#include "tex/LineOperations.h"

EditingAidActions::EditingAidActions(QWidget* mainWindow, TEditor* editor)
    : QObject(mainWindow), mainWindow_(mainWindow), editor_(editor)
{
    FormFindReplace = new TFormFindReplace(mainWindow, editor);
    FormYohaku = new TFormYohaku(mainWindow);
    // A marking is mark 0 alone: the first image of the bar's list.
    std::vector<QImage>& digits = editor->Painter().ImageDigits;
    if (digits.empty())
        digits.resize(1);
    digits[0] = MarkingImage();
    ShowMessage = [this](const QString& title, const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, mainWindow_);
        box.exec();
    };
}

void EditingAidActions::Connect(const Connector& on)
{
    TEditorCore& e = editor_->Core();
    on("SerchMarkup", [&e] { Markings::ToggleMarking(e); });
    on("SerchUP", [&e] { Markings::GoToMarkingAbove(e); });
    on("SerchDown", [&e] { Markings::GoToMarkingBelow(e); });
    on("SerchFind1", [this] { FormFindReplace->ShowFor(false); });
    on("SerchReplace1", [this] { FormFindReplace->ShowFor(true); });
    on("SerchFindNext1", [this] { FormFindReplace->ButtonOKClick(); });
    on("EditComentIn", [&e] { LineOperations::CommentLines(e); });
    on("EditCommentOut", [&e] { LineOperations::UncommentLines(e); });
    on("EditCutLine", [&e] { LineOperations::CutLine(e); });
    on("EditMoveForward", [&e] { LineOperations::MoveToLineStart(e); });
    on("EditMoveLast", [&e] { LineOperations::MoveToLineEnd(e); });
    on("RunWordCount", [this] { RunWordCountExecute(); });
    on("ToolYohaku", [this] {
        FormYohaku->show();
        FormYohaku->raise();
        FormYohaku->activateWindow();
    });
}

QString EditingAidActions::WordCountMessage(int count)
{
    return QStringLiteral("選択文字列は") + QString::number(count) + QStringLiteral("字です。");
}

void EditingAidActions::RunWordCountExecute()
{
    const int count = LineOperations::CountCharacters(editor_->Core().SelText());
    ShowMessage(QApplication::applicationName(), WordCountMessage(count));
}
