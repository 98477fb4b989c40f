#include "app/EditorWindow.h"

#include <QFile>
#include <QLabel>
#include <QStatusBar>

#include <stdexcept>

#include "editor/TEditor.h"

EditorWindow::EditorWindow(QWidget* parent)
    : QMainWindow(parent), editor_(new TEditor(this)), position_(new QLabel(this)), message_(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Scrivlet"));
    TEditorCore& core = editor_->Core();
    TEditorFont font = core.Font();
    font.Height = -16;
    core.SetFont(font);
    core.SetScrollBars(ssBoth);
    core.Leftbar().SetVisible(true);
    core.Ruler().SetVisible(true);
    core.Marks().RetMark.SetVisible(true);
    core.Marks().EofMark.SetVisible(true);
    core.Marks().WrapMark.SetVisible(true);
    core.Marks().HideMark.SetVisible(true);
    core.View().SetCommenter("%");
    core.View().Colors().Comment.SetColor(clPurple);
    setCentralWidget(editor_);
    statusBar()->addWidget(position_);
    statusBar()->addWidget(message_, 1);
    message_->setText(QStringLiteral("この版では編集内容を保存できません。"));
    connect(editor_, &TEditor::CaretMoved, this, &EditorWindow::ShowCaretPosition);
    connect(editor_, &TEditor::MessageRequested, message_, &QLabel::setText);
    resize(900, 700);
    ShowCaretPosition();
}

void EditorWindow::Open(const QString& path)
{
    const TLoadResult result = editor_->Lines().LoadFromFile(QFile::encodeName(path).toStdString());
    editor_->Core().SetModified(false);
    if (result.BytesAfterEof > 0)
        message_->setText(QStringLiteral("EOF (Ctrl+Z) の後の %1 バイトは読み込んでいません。").arg(result.BytesAfterEof));
    setWindowTitle(QStringLiteral("Scrivlet - %1").arg(path));
    editor_->setFocus();
    ShowCaretPosition();
}

void EditorWindow::ShowCaretPosition()
{
    const TEditorCore& core = editor_->Core();
    position_->setText(QStringLiteral("%1 行 %2 桁").arg(core.RowToLine(core.Row()) + 1).arg(core.Col() + 1));
}
