#include "dialogs/TFormNewCommand.h"

#include <QButtonGroup>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <string>
#include <vector>

#include "app/ErrorReport.h"
#include "editor/EditorFontChoice.h"
#include "editor/TEditor.h"
#include "editor/core/ShiftJisCodec.h"
#include "platform/PathDisplay.h"
#include "platform/ProgramDataFolder.h"
#include "tex/TeXCommandCollation.h"

namespace {

QString FromSjis(const std::string& bytes) { return QString::fromStdString(ShiftJisCodec::DecodeToPlainUtf8(bytes)); }

QFont PixelFont(const char* family, int pixels)
{
    TEditorFont stored;
    stored.Name = family;
    stored.Height = -pixels;
    return EditorFontChoice::Resolve(stored);
}

// One line per file: its path and the system's reason.
QString ProblemLines(const std::vector<CommandListEditor::FileProblem>& problems)
{
    QStringList lines;
    for (const auto& problem : problems)
        lines << QStringLiteral("%1 (%2)").arg(QString::fromStdString(DisplayPathText(problem.Path)),
                                                QString::fromStdString(problem.Reason));
    return lines.join(u'\n');
}

}  // namespace

TFormNewCommand::TFormNewCommand(const QString& commandsFolder, QWidget* parent)
    : QDialog(parent), folder_(commandsFolder)
{
    setObjectName(QStringLiteral("FormNewCommand"));
    setWindowTitle(QStringLiteral("コマンドの編集"));
    setModal(false);
    // A fixed border with the system menu and a minimise button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(621, 435);
    QFont windowFont = font();
    windowFont.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                            QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic")});
    windowFont.setPixelSize(12);
    setFont(windowFont);

    BuildLayout();
    ConfigureEditing();
    ShowMessage = [this](const QString& message) { ShowErrorReport(this, message); };
}

TFormNewCommand::~TFormNewCommand() = default;

void TFormNewCommand::BuildLayout()
{
    RGCommand = new QGroupBox(QStringLiteral("コマンドの種類の選択"), this);
    RGCommand->setObjectName(QStringLiteral("RGCommand"));
    rgButtons_ = new QButtonGroup(this);
    auto* radioLayout = new QVBoxLayout(RGCommand);
    const char* items[] = {"初期化等コマンド", "通常コマンド", "数学コマンド", "テンプレート"};
    for (int i = 0; i < CommandListEditor::kItemCount; ++i) {
        auto* button = new QRadioButton(QString::fromUtf8(items[i]), RGCommand);
        button->setObjectName(QStringLiteral("RGCommandItem%1").arg(i));
        rgButtons_->addButton(button, i);
        radioLayout->addWidget(button);
        RGCommandItems << button;
    }
    RGCommandItems[1]->setChecked(true);
    connect(rgButtons_, &QButtonGroup::idClicked, this, [this] { RGCommandClick(); });

    GroupBox1 = new QGroupBox(QStringLiteral("編集するコマンド"), this);
    CommandListBox = new QListWidget(GroupBox1);
    CommandListBox->setObjectName(QStringLiteral("CommandListBox"));
    CommandListBox->setSortingEnabled(false);
    CommandListBox->setFont(PixelFont("ＭＳ ゴシック", 16));
    (new QVBoxLayout(GroupBox1))->addWidget(CommandListBox);
    // A click, and moving the selection with the keys, show the entry.
    connect(CommandListBox, &QListWidget::itemClicked, this, [this] { CommandListBoxClick(); });
    connect(CommandListBox, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            CommandListBoxClick();
    });

    GroupBox2 = new QGroupBox(QStringLiteral("コマンド"), this);
    Editing = new TEditor(GroupBox2);
    Editing->setObjectName(QStringLiteral("Editing"));
    (new QVBoxLayout(GroupBox2))->addWidget(Editing);

    GroupBox3 = new QGroupBox(QStringLiteral("コマンドヘルプ"), this);
    MemoHelp = new QPlainTextEdit(GroupBox3);
    MemoHelp->setObjectName(QStringLiteral("MemoHelp"));
    MemoHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab goes on to the buttons, as in the command editor.
    MemoHelp->setTabChangesFocus(true);
    MemoHelp->setFont(PixelFont("ＭＳ ゴシック", 15));
    (new QVBoxLayout(GroupBox3))->addWidget(MemoHelp);

    BtnAdd = new QPushButton(QStringLiteral("追加"), this);
    BtnAdd->setObjectName(QStringLiteral("BtnAdd"));
    BtnEdit = new QPushButton(QStringLiteral("編集"), this);
    BtnEdit->setObjectName(QStringLiteral("BtnEdit"));
    BtnEdit->setEnabled(false);
    BtnDelete = new QPushButton(QStringLiteral("削除"), this);
    BtnDelete->setObjectName(QStringLiteral("BtnDelete"));
    BtnOK = new QPushButton(QStringLiteral("OK"), this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    // Enter belongs to the editor: no button is the default.
    for (QPushButton* button : {BtnAdd, BtnEdit, BtnDelete, BtnOK})
        button->setAutoDefault(false);
    connect(BtnAdd, &QPushButton::clicked, this, [this] { BtnAddClick(); });
    connect(BtnEdit, &QPushButton::clicked, this, [this] { BtnEditClick(); });
    connect(BtnDelete, &QPushButton::clicked, this, [this] { BtnDeleteClick(); });
    connect(BtnOK, &QPushButton::clicked, this, [this] { BtnOKClick(); });

    auto* left = new QVBoxLayout;
    left->addWidget(RGCommand);
    left->addWidget(GroupBox1, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(GroupBox2, 3);
    right->addWidget(GroupBox3, 2);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 2);
    columns->addLayout(right, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnAdd);
    buttons->addWidget(BtnEdit);
    buttons->addWidget(BtnDelete);
    buttons->addStretch(1);
    buttons->addWidget(BtnOK);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);
}

void TFormNewCommand::ConfigureEditing()
{
    // A plain text editor for the command: word wrap at 80 columns, row
    // numbers, the ruler, no marks, "%" starting a comment.
    TEditorCore& e = Editing->Core();
    TEditorFont font;
    font.Name = "FixedSys";
    font.Height = -16;
    e.SetFont(font);
    e.SetScrollBars(ssNone);
    e.WrapOption().SetWrapByte(80);
    e.SetWordWrap(true);
    e.Leftbar().SetVisible(true);
    e.Leftbar().SetShowNumber(true);
    e.Ruler().SetVisible(true);
    for (TEditorMark* mark : {&e.Marks().RetMark, &e.Marks().EofMark, &e.Marks().WrapMark})
        mark->SetVisible(false);
    e.View().SetCommenter("%");
    e.SetWantReturns(true);
    e.SetWantTabs(false);
    // A click past the end of a line puts the caret at its end: blanks typed
    // before a command would become part of its name.
    e.Caret().SetFreeCaret(false);
}

QString TFormNewCommand::Folder() const { return folder_.isEmpty() ? ProgramDataFolder::CommandsFolder() : folder_; }

int TFormNewCommand::ItemIndex() const { return rgButtons_->checkedId(); }

void TFormNewCommand::SetItemIndex(int item)
{
    if (item >= 0 && item < RGCommandItems.size())
        RGCommandItems[item]->setChecked(true);
}

void TFormNewCommand::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Restoring the window from its minimised state keeps what was typed.
    if (!event->spontaneous())
        FormShow();
}

void TFormNewCommand::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    // Closed without OK: the changes are dropped, and the next showing loads
    // the files again.
    if (!event->spontaneous() && lists_)
        lists_.reset();
}

void TFormNewCommand::FormShow()
{
    lists_ = std::make_unique<CommandListEditor>(QFile::encodeName(Folder()).toStdString(), TeXCommandCollation());
    const std::vector<CommandListEditor::FileProblem> problems = lists_->Load();
    ListUpdate();
    if (!problems.empty()) {
        const QString message =
            QStringLiteral("次の補完候補のファイルを読み込めませんでした。その一覧は空で表示します。"
                           "一覧を変更しない限り、ファイルには書き込みません。\n")
            + ProblemLines(problems);
        // After the dialog is on screen, so the box stands in front of it.
        QTimer::singleShot(0, this, [this, message] { ShowMessage(message); });
    }
}

void TFormNewCommand::FillListBox()
{
    const QSignalBlocker quiet(CommandListBox);
    CommandListBox->clear();
    if (!lists_)
        return;
    for (const std::string& name : lists_->List(ItemIndex()).Names())
        CommandListBox->addItem(FromSjis(name));
}

void TFormNewCommand::ClearEditing()
{
    Editing->Lines().Clear();
    MemoHelp->clear();
}

void TFormNewCommand::ListUpdate()
{
    if (lists_)
        lists_->Update(ItemIndex());
    FillListBox();
    ClearEditing();
}

void TFormNewCommand::RGCommandClick()
{
    BtnEdit->setEnabled(false);
    ListUpdate();
}

void TFormNewCommand::CommandListBoxClick()
{
    const int index = CommandListBox->currentRow();
    CommandListEditor::EditText text;
    if (!lists_ || index < 0 || !lists_->Open(ItemIndex(), index, text))
        return;
    BtnEdit->setEnabled(true);
    ClearEditing();
    // The lines as one text: an empty line among them stays a line.
    std::string joined;
    for (std::size_t i = 0; i < text.Lines.size(); ++i)
        joined += (i > 0 ? "\r\n" : "") + text.Lines[i];
    Editing->Lines().SetTextStr(joined);
    Editing->setFocus();
    TEditorCore& e = Editing->Core();
    const int line = std::clamp(text.CaretLine, 0, static_cast<int>(text.Lines.size()) - 1);
    // Without a caret marker the caret stands at the end of the first line.
    const int offset = text.CaretOffset < 0 ? static_cast<int>(text.Lines[line].size()) : text.CaretOffset;
    e.SetCaretByIndex(e.LineToRow(line), offset);
    MemoHelp->setPlainText(FromSjis(text.Help));
}

bool TFormNewCommand::HelpBytes(std::string& help)
{
    char32_t bad = 0;
    if (ShiftJisCodec::EncodeUtf8(MemoHelp->toPlainText().toStdString(), help, &bad))
        return true;
    ShowMessage(QStringLiteral("ヘルプの文字「%1」は Shift-JIS で表せないため、コマンドを登録できません。")
                    .arg(QString::fromUcs4(&bad, 1)));
    return false;
}

void TFormNewCommand::BtnAddClick()
{
    if (!lists_)
        return;
    TEditorStrings& lines = Editing->Lines();
    if (lines.GetCount() > 0 && !lines.Get(0).empty()) {
        std::string help;
        // Nothing is added and nothing is cleared: the user mends the text.
        if (!HelpBytes(help))
            return;
        BtnEdit->setEnabled(false);
        TEditorCore& e = Editing->Core();
        const int row = e.Row();
        const int caretLine = row >= e.RowCount() ? lines.GetCount() : e.RowToLine(row);
        const int caretOffset = std::max(0, e.RowColToCharIndex(row, e.Col()));
        std::vector<std::string> text;
        text.reserve(lines.GetCount());
        for (int i = 0; i < lines.GetCount(); ++i)
            text.push_back(lines.Get(i));
        lists_->Add(ItemIndex(), std::move(text), caretLine, caretOffset, help);
    }
    ListUpdate();
}

void TFormNewCommand::BtnEditClick()
{
    const int index = CommandListBox->currentRow();
    std::string help;
    // The entry is replaced only by one that can be stored.
    if (!lists_ || index < 0 || !HelpBytes(help))
        return;
    BtnEdit->setEnabled(false);
    lists_->Delete(ItemIndex(), index);
    FillListBox();
    BtnAddClick();
}

void TFormNewCommand::BtnDeleteClick()
{
    BtnEdit->setEnabled(false);
    const int index = CommandListBox->currentRow();
    ClearEditing();
    if (lists_)
        lists_->Delete(ItemIndex(), index);
    ListUpdate();
}

void TFormNewCommand::BtnOKClick()
{
    BtnEdit->setEnabled(false);
    if (!lists_)
        return;
    const std::vector<CommandListEditor::FileProblem> failures = lists_->Save();
    if (!failures.empty()) {
        // The lists stay as they are, so nothing typed is lost; OK tries again.
        ShowMessage(QStringLiteral("次の補完候補のファイルに書き込めませんでした。"
                                   "編集した内容はこのダイアログに残っています。\n")
                    + ProblemLines(failures));
        return;
    }
    lists_.reset();
    accept();
}
