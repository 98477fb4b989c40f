#include "dialogs/TFormConfig.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <string>
#include <vector>

#include "app/ErrorReport.h"
#include "app/TFormMain.h"
#include "dialogs/ConfigRules.h"
#include "editor/EditorFontChoice.h"
#include "editor/QtColor.h"
#include "editor/TEditor.h"
#include "editor/core/ShiftJisCodec.h"

const QString TFormConfig::kTeXFilter = QStringLiteral("TeXコンパイラー (platex)");
const QString TFormConfig::kDviViewerFilter = QStringLiteral("DVI viewer (*)");
const QString TFormConfig::kOutCommandFilter = QStringLiteral("外部実行可能ファイル (*)");
const QString TFormConfig::kTopFilter = QStringLiteral("コンパイル対象TeXファイル (*.[tT][eE][xX])");

namespace {

constexpr int kWrapMin = 20;
constexpr int kWrapMax = 200;

// The wrap width box: any text may be typed; when the box loses the focus
// (or Enter is pressed) a number is brought into the range and any other
// text reads as the smallest width.
class WrapSpinBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString& text, int& pos) const override
    {
        const QValidator::State state = QSpinBox::validate(text, pos);
        return state == QValidator::Invalid ? QValidator::Intermediate : state;
    }
    void fixup(QString& text) const override
    {
        text = QString::number(ConfigRules::WrapWidthFromText(text.trimmed().toStdString(), minimum(), maximum()));
    }
    int valueFromText(const QString& text) const override
    {
        return ConfigRules::WrapWidthFromText(text.trimmed().toStdString(), minimum(), maximum());
    }
};

QString Decode(const std::string& sjis) { return QString::fromStdString(ShiftJisCodec::DecodeToPlainUtf8(sjis)); }

// The families with Japanese glyphs whose full-width characters are twice
// as wide as their half-width ones, in the font database's order.
QStringList DualWidthJapaneseFamilies()
{
    QStringList families;
    for (const QString& family : QFontDatabase::families(QFontDatabase::Japanese)) {
        if (!ConfigRules::IsListedFamilyName(family.toStdString()))
            continue;
        QFont font(family);
        font.setPixelSize(16);
        font.setKerning(false);
        if (EditorFontChoice::IsDualWidthMonospace(font))
            families << family;
    }
    return families;
}

}  // namespace

TFormConfig::TFormConfig(TFormMain* main) : QDialog(main), main_(main)
{
    setObjectName(QStringLiteral("FormConfig"));
    setWindowTitle(QStringLiteral("設定"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint);
    BuildLayout();

    PickFile = [this](const QString& filter, bool programs, const QString& current) {
        QFileDialog dialog(this);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        // Qt's own dialog: the platform's may not honour the filter of
        // executable files.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setNameFilter(filter);
        if (programs)
            dialog.setFilter(QDir::AllDirs | QDir::Files | QDir::Executable | QDir::NoDotAndDotDot);
        const QFileInfo info(current);
        if (!current.isEmpty() && info.dir().exists())
            dialog.setDirectory(info.dir());
        else if (!lastFolder_.isEmpty())
            dialog.setDirectory(lastFolder_);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        lastFolder_ = dialog.directory().absolutePath();
        return dialog.selectedFiles().first();
    };
    PickColor = [this](const QColor& initial) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(initial, this, QStringLiteral("色の設定"));
        if (!chosen.isValid())
            return std::nullopt;
        return chosen;
    };
    ReportError = [this](const QString& message) { ShowErrorReport(this, message); };

    FormCreate();
}

TFormConfig::~TFormConfig() = default;

void TFormConfig::BuildLayout()
{
    auto* layout = new QVBoxLayout(this);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(PageControl1);

    auto button = [this](const QString& name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    auto check = [this](const QString& name, const QString& caption) {
        auto* c = new QCheckBox(caption, this);
        c->setObjectName(name);
        return c;
    };

    // パス
    auto* pathPage = new QWidget;
    auto* pathLayout = new QVBoxLayout(pathPage);
    GroupPath = new QGroupBox(QStringLiteral("パスの設定"), pathPage);
    auto* grid = new QGridLayout(GroupPath);
    auto pathRow = [&](int row, const QString& caption, const QString& editName, QLineEdit*& edit,
                       const QString& buttonName, QPushButton*& pick, bool readOnly) {
        auto* label = new QLabel(caption, GroupPath);
        edit = new QLineEdit(GroupPath);
        edit->setObjectName(editName);
        edit->setReadOnly(readOnly);
        edit->setMinimumWidth(280);
        label->setBuddy(edit);
        pick = button(buttonName, QStringLiteral("..."));
        pick->setFixedWidth(32);
        grid->addWidget(label, row * 2, 0, 1, 2);
        grid->addWidget(edit, row * 2 + 1, 0);
        grid->addWidget(pick, row * 2 + 1, 1);
    };
    pathRow(0, QStringLiteral("pLaTeXの位置"), QStringLiteral("EditTexPath"), EditTexPath,
            QStringLiteral("ButtonTeXPath"), ButtonTeXPath, true);
    pathRow(1, QStringLiteral("DVIOUTの位置"), QStringLiteral("EditDVIOUTPath"), EditDVIOUTPath,
            QStringLiteral("ButtonDVIOUTPath"), ButtonDVIOUTPath, true);
    pathRow(2, QStringLiteral("外部コマンドの位置"), QStringLiteral("EditOutCommand"), EditOutCommand,
            QStringLiteral("ButtonOutCommand"), ButtonOutCommand, true);
    pathRow(3, QStringLiteral("コンパイルするファイルの位置"), QStringLiteral("EditTOPPATH"), EditTOPPATH,
            QStringLiteral("ButtonTOPPATH"), ButtonTOPPATH, false);
    pathLayout->addWidget(GroupPath);
    ButtonFix = button(QStringLiteral("ButtonFix"), QStringLiteral("関連付け(&K)"));
    ButtonFix->setToolTip(QStringLiteral("TeXファイルへの関連づけのON/OFFを切り替えます。"));
    auto* fixRow = new QHBoxLayout;
    fixRow->addWidget(ButtonFix);
    fixRow->addStretch(1);
    pathLayout->addLayout(fixRow);
    pathLayout->addStretch(1);
    PageControl1->addTab(pathPage, QStringLiteral("パス"));

    // コンパイル
    auto* compilePage = new QWidget;
    auto* compileLayout = new QVBoxLayout(compilePage);
    CheckSerchRoot = check(QStringLiteral("CheckSerchRoot"), QStringLiteral("再帰的に親ファイルを探してコンパイル"));
    CheckNonStop = check(QStringLiteral("CheckNonStop"), QStringLiteral("エラーで停止しない"));
    compileLayout->addWidget(CheckSerchRoot);
    compileLayout->addWidget(CheckNonStop);
    compileLayout->addStretch(1);
    PageControl1->addTab(compilePage, QStringLiteral("コンパイル"));

    // 動作
    auto* actionPage = new QWidget;
    auto* actionLayout = new QVBoxLayout(actionPage);
    CheckScroll = check(QStringLiteral("CheckScroll"), QStringLiteral("ホイールスクロールにキャレットを追従させる。"));
    CheckRenewLabel = check(QStringLiteral("CheckRenewLabel"), QStringLiteral("ツリーの自動更新"));
    actionLayout->addWidget(CheckScroll);
    actionLayout->addWidget(CheckRenewLabel);
    GroupMath = new QGroupBox(QStringLiteral("数式環境"), actionPage);
    auto* mathLayout = new QGridLayout(GroupMath);
    StringMathGrid = new QTableWidget(0, 2, GroupMath);
    StringMathGrid->setObjectName(QStringLiteral("StringMathGrid"));
    StringMathGrid->setHorizontalHeaderLabels({QStringLiteral("数式環境のはじまり"), QStringLiteral("数式環境のおわり")});
    StringMathGrid->verticalHeader()->hide();
    StringMathGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    StringMathGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringMathGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringMathGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    EditStart = new QLineEdit(GroupMath);
    EditStart->setObjectName(QStringLiteral("EditStart"));
    EditEnd = new QLineEdit(GroupMath);
    EditEnd->setObjectName(QStringLiteral("EditEnd"));
    ButtonAddMath = button(QStringLiteral("ButtonAddMath"), QStringLiteral("追加"));
    Button2 = button(QStringLiteral("Button2"), QStringLiteral("削除"));
    mathLayout->addWidget(StringMathGrid, 0, 0, 1, 2);
    mathLayout->addWidget(EditStart, 1, 0);
    mathLayout->addWidget(EditEnd, 1, 1);
    mathLayout->addWidget(ButtonAddMath, 2, 0);
    mathLayout->addWidget(Button2, 2, 1);
    actionLayout->addWidget(GroupMath, 1);
    PageControl1->addTab(actionPage, QStringLiteral("動作"));

    // 改行
    auto* wrapPage = new QWidget;
    auto* wrapPageLayout = new QVBoxLayout(wrapPage);
    GroupWrap = new QGroupBox(QStringLiteral("改行"), wrapPage);
    auto* wrapLayout = new QVBoxLayout(GroupWrap);
    CheckWrap = check(QStringLiteral("CheckWrap"), QStringLiteral("WordWrapを有効にする。"));
    CheckWord = check(QStringLiteral("CheckWord"), QStringLiteral("WordBreak処理"));
    SpinWrap = new WrapSpinBox(GroupWrap);
    SpinWrap->setObjectName(QStringLiteral("SpinWrap"));
    SpinWrap->setRange(kWrapMin, kWrapMax);
    SpinWrap->setValue(80);
    auto* spinRow = new QHBoxLayout;
    auto* spinLabel = new QLabel(QStringLiteral("一行の文字数"), GroupWrap);
    spinLabel->setBuddy(SpinWrap);
    spinRow->addWidget(spinLabel);
    spinRow->addWidget(SpinWrap);
    spinRow->addStretch(1);
    wrapLayout->addWidget(CheckWrap);
    wrapLayout->addWidget(CheckWord);
    wrapLayout->addLayout(spinRow);
    wrapPageLayout->addWidget(GroupWrap);
    wrapPageLayout->addStretch(1);
    PageControl1->addTab(wrapPage, QStringLiteral("改行"));

    // 色
    auto* colourPage = new QWidget;
    auto* colourLayout = new QGridLayout(colourPage);
    auto* wordLabel = new QLabel(QStringLiteral("色分けするキーワード"), colourPage);
    MemoWord = new QPlainTextEdit(colourPage);
    MemoWord->setObjectName(QStringLiteral("MemoWord"));
    MemoWord->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoWord->setTabChangesFocus(true);
    wordLabel->setBuddy(MemoWord);
    ButtonKeyword = button(QStringLiteral("ButtonKeyword"), QStringLiteral("色選択"));
    CheckComment = check(QStringLiteral("CheckComment"), QStringLiteral("%以降（コメント）の色を変える"));
    ButtonComment = button(QStringLiteral("ButtonComment"), QStringLiteral("色選択"));
    colourLayout->addWidget(wordLabel, 0, 0);
    colourLayout->addWidget(MemoWord, 1, 0);
    colourLayout->addWidget(ButtonKeyword, 1, 1, Qt::AlignTop);
    colourLayout->addWidget(CheckComment, 2, 0);
    colourLayout->addWidget(ButtonComment, 2, 1);
    PageControl1->addTab(colourPage, QStringLiteral("色"));

    // Font
    auto* fontPage = new QWidget;
    auto* fontPageLayout = new QVBoxLayout(fontPage);
    GroupFont = new QGroupBox(QStringLiteral("フォント設定"), fontPage);
    auto* fontLayout = new QGridLayout(GroupFont);
    auto* fontLabel = new QLabel(QStringLiteral("フォント名"), GroupFont);
    ListFont = new QListWidget(GroupFont);
    ListFont->setObjectName(QStringLiteral("ListFont"));
    fontLabel->setBuddy(ListFont);
    auto* sizeLabel = new QLabel(QStringLiteral("フォントサイズ"), GroupFont);
    EditFontSize = new QLineEdit(GroupFont);
    EditFontSize->setObjectName(QStringLiteral("EditFontSize"));
    EditFontSize->setMaximumWidth(80);
    sizeLabel->setBuddy(EditFontSize);
    ListFontSize = new QListWidget(GroupFont);
    ListFontSize->setObjectName(QStringLiteral("ListFontSize"));
    ListFontSize->setMaximumWidth(80);
    for (int size = ConfigRules::kListedFontSizeMin; size <= ConfigRules::kListedFontSizeMax; ++size)
        ListFontSize->addItem(QString::number(size));
    fontLayout->addWidget(fontLabel, 0, 0);
    fontLayout->addWidget(ListFont, 1, 0, 2, 1);
    fontLayout->addWidget(sizeLabel, 0, 1);
    fontLayout->addWidget(EditFontSize, 1, 1);
    fontLayout->addWidget(ListFontSize, 2, 1);
    fontPageLayout->addWidget(GroupFont);
    PageControl1->addTab(fontPage, QStringLiteral("Font"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    ButtonOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonOK->setDefault(true);
    ButtonCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    ButtonCancel->setAutoDefault(false);
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCancel);
    layout->addLayout(buttons);

    connect(ButtonOK, &QPushButton::clicked, this, &TFormConfig::ButtonOKClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &TFormConfig::ButtonCancelClick);
    connect(ButtonTeXPath, &QPushButton::clicked, this, &TFormConfig::ButtonTeXPathClick);
    connect(ButtonDVIOUTPath, &QPushButton::clicked, this, &TFormConfig::ButtonDVIOUTPathClick);
    connect(ButtonOutCommand, &QPushButton::clicked, this, &TFormConfig::ButtonOutCommandClick);
    connect(ButtonTOPPATH, &QPushButton::clicked, this, &TFormConfig::ButtonTOPPATHClick);
    connect(ButtonFix, &QPushButton::clicked, this, [this] { main_->RunAction(QStringLiteral("ToolKanren")); });
    connect(ButtonAddMath, &QPushButton::clicked, this, &TFormConfig::ButtonAddMathClick);
    connect(Button2, &QPushButton::clicked, this, &TFormConfig::Button2Click);
    connect(ButtonKeyword, &QPushButton::clicked, this, &TFormConfig::ButtonKeywordClick);
    connect(ButtonComment, &QPushButton::clicked, this, &TFormConfig::ButtonCommentClick);
    // A size chosen with the mouse or the arrow keys.
    connect(ListFontSize, &QListWidget::itemClicked, this, &TFormConfig::ListFontSizeClick);
    connect(ListFontSize, &QListWidget::currentRowChanged, this, [this] {
        if (ListFontSize->hasFocus())
            ListFontSizeClick();
    });
}

void TFormConfig::FormCreate()
{
    TEditorCore& e = main_->Editor->Core();
    CheckWrap->setChecked(e.WordWrap());
    CheckWord->setChecked(e.WrapOption().WordBreak());
    SpinWrap->setValue(e.WrapOption().WrapByte());
    QStringList words;
    for (const std::string& word : e.View().ReserveWordList().Words())
        words << Decode(word);
    MemoWord->setPlainText(words.join(u'\n'));
    CheckComment->setChecked(e.View().Commenter() == "%");
    CheckRenewLabel->setChecked(main_->RenewTree);

    ListFont->clear();
    ListFont->addItems(DualWidthJapaneseFamilies());
    const QString name = QString::fromStdString(e.Font().Name);
    for (int i = 0; i < ListFont->count(); ++i)
        if (ListFont->item(i)->text() == name)
            ListFont->setCurrentRow(i);

    const QString size = QString::fromStdString(ConfigRules::ListedFontSizeText(e.Font().Size()));
    ListFontSize->clearSelection();
    ListFontSize->setCurrentRow(-1);
    for (int i = 0; i < ListFontSize->count(); ++i)
        if (!size.isEmpty() && ListFontSize->item(i)->text() == size)
            ListFontSize->setCurrentRow(i);
    EditFontSize->setText(size);
}

void TFormConfig::FillForOpening()
{
    EditTexPath->setText(main_->LaTeXPath);
    EditDVIOUTPath->setText(main_->DviOutPath);
    EditTOPPATH->setText(main_->TopPath);
    EditOutCommand->setText(main_->OutCommandPath);
    CheckSerchRoot->setChecked(main_->SerchRoot);
    CheckScroll->setChecked(main_->WheelMove);
    CheckNonStop->setChecked(main_->NonStopMode);
    FillMathGrid();
}

int TFormConfig::ToolPathExecute()
{
    FillForOpening();
    PageControl1->setCurrentIndex(0);
    return exec();
}

void TFormConfig::FillMathGrid()
{
    // A pair whose other half is missing (the two lists are stored apart)
    // shows an empty cell.
    const QStringList& begin = main_->BeginMath;
    const QStringList& end = main_->EndMath;
    StringMathGrid->clearContents();
    StringMathGrid->setRowCount(static_cast<int>(begin.size()));
    for (int row = 0; row < begin.size(); ++row) {
        StringMathGrid->setItem(row, 0, new QTableWidgetItem(begin[row]));
        StringMathGrid->setItem(row, 1, new QTableWidgetItem(row < end.size() ? end[row] : QString()));
    }
}

void TFormConfig::ButtonOKClick()
{
    TEditorCore& e = main_->Editor->Core();
    // 1. Line wrap; a width still being typed is brought into range first.
    SpinWrap->interpretText();
    e.SetWordWrap(CheckWrap->isChecked());
    e.WrapOption().SetWrapByte(SpinWrap->value());
    e.WrapOption().SetWordBreak(CheckWord->isChecked());
    // 2. Comment colouring.
    e.View().SetCommenter(CheckComment->isChecked() ? "%" : "");
    // 3. The reserved words, every line, in Shift-JIS like the text they colour.
    // The lines as a list of lines counts them: none in an empty text, and
    // a final line break ends the last line rather than adding an empty one.
    QStringList lines = MemoWord->toPlainText().split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    std::vector<std::string> words;
    for (const QString& line : lines) {
        std::string bytes;
        char32_t bad = 0;
        if (!ShiftJisCodec::EncodeUtf8(line.toStdString(), bytes, &bad)) {
            const QString code = QString::number(static_cast<uint>(bad), 16).toUpper().rightJustified(4, u'0');
            ReportError(QStringLiteral("「%1」(U+%2) は Shift-JIS で表せないため、キーワードにできません。")
                            .arg(QString::fromUcs4(&bad, 1), code));
            return;
        }
        words.push_back(std::move(bytes));
    }
    e.View().ReserveWordList().Assign(words);
    // 4. The font's family.
    if (QListWidgetItem* item = ListFont->currentItem(); item && item->isSelected()) {
        TEditorFont font = e.Font();
        font.Name = item->text().toStdString();
        e.SetFont(font);
        main_->SerchList->setFont(main_->Editor->DrawFont());
    }
    // 5. The font's size; a size that does not read stops here, the dialog
    // stays open and the paths and options are left as they were.
    const ConfigRules::FontSizeReading size = ConfigRules::ReadFontSize(EditFontSize->text().toStdString());
    if (!size.Size) {
        ReportError(QString::fromStdString(size.Error));
        return;
    }
    TEditorFont font = e.Font();
    // Points and pixels do not map one to one: the height is kept when the
    // size did not change.
    if (font.Size() != *size.Size)
        font.SetSize(*size.Size);
    e.SetFont(font);
    main_->SerchList->setFont(main_->Editor->DrawFont());
    // 6. The paths.
    main_->LaTeXPath = EditTexPath->text();
    main_->DviOutPath = EditDVIOUTPath->text();
    main_->TopPath = EditTOPPATH->text();
    main_->OutCommandPath = EditOutCommand->text();
    // 7. The options.
    main_->WheelMove = CheckScroll->isChecked();
    main_->SerchRoot = CheckSerchRoot->isChecked();
    main_->RenewTree = CheckRenewLabel->isChecked();
    main_->NonStopMode = CheckNonStop->isChecked();
    // 8.
    accept();
}

void TFormConfig::ButtonCancelClick() { reject(); }

void TFormConfig::PickInto(QLineEdit* field, const QString& filter, bool programs)
{
    const QString chosen = PickFile(filter, programs, field->text());
    if (!chosen.isEmpty())
        field->setText(chosen);
}

void TFormConfig::ButtonTeXPathClick() { PickInto(EditTexPath, kTeXFilter, true); }

void TFormConfig::ButtonDVIOUTPathClick() { PickInto(EditDVIOUTPath, kDviViewerFilter, true); }

void TFormConfig::ButtonOutCommandClick() { PickInto(EditOutCommand, kOutCommandFilter, true); }

void TFormConfig::ButtonTOPPATHClick() { PickInto(EditTOPPATH, kTopFilter, false); }

void TFormConfig::ButtonAddMathClick()
{
    if (EditStart->text().isEmpty() || EditEnd->text().isEmpty())
        return;
    main_->BeginMath << EditStart->text();
    main_->EndMath << EditEnd->text();
    FillMathGrid();
    EditStart->clear();
    EditEnd->clear();
}

void TFormConfig::Button2Click()
{
    const QList<QTableWidgetSelectionRange> ranges = StringMathGrid->selectedRanges();
    if (ranges.isEmpty())
        return;
    int row = ranges.first().topRow();
    for (const QTableWidgetSelectionRange& range : ranges)
        row = std::min(row, range.topRow());
    if (row < 0 || row >= main_->BeginMath.size())
        return;
    main_->BeginMath.removeAt(row);
    if (row < main_->EndMath.size())
        main_->EndMath.removeAt(row);
    FillMathGrid();
    EditStart->clear();
    EditEnd->clear();
}

std::optional<QColor> TFormConfig::ChooseColor()
{
    std::optional<QColor> chosen = PickColor(lastColor_);
    if (chosen)
        lastColor_ = *chosen;
    return chosen;
}

void TFormConfig::ButtonKeywordClick()
{
    if (const std::optional<QColor> chosen = ChooseColor())
        main_->Editor->Core().View().Colors().Reserve.SetColor(ToTColor(*chosen));
}

void TFormConfig::ButtonCommentClick()
{
    if (const std::optional<QColor> chosen = ChooseColor())
        main_->Editor->Core().View().Colors().Comment.SetColor(ToTColor(*chosen));
}

void TFormConfig::ListFontSizeClick()
{
    if (QListWidgetItem* item = ListFontSize->currentItem())
        EditFontSize->setText(item->text());
}
