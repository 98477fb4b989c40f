#include "dialogs/TFormShortCut.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include <optional>
#include <vector>

#include "app/KeySequenceText.h"
#include "app/MenuActionList.h"
#include "app/ShortCutTable.h"
#include "editor/TEditor.h"

namespace {

// The drop-down's ready-made texts: F1-F12, Shift+F1-F12, Ctrl+A-Z, Ctrl+Alt+A-Z.
QStringList OfferedTexts()
{
    QStringList texts;
    for (int i = 1; i <= 12; ++i)
        texts << QStringLiteral("F%1").arg(i);
    for (int i = 1; i <= 12; ++i)
        texts << QStringLiteral("Shift+F%1").arg(i);
    for (char c = 'A'; c <= 'Z'; ++c)
        texts << QStringLiteral("Ctrl+") + QLatin1Char(c);
    for (char c = 'A'; c <= 'Z'; ++c)
        texts << QStringLiteral("Ctrl+Alt+") + QLatin1Char(c);
    return texts;
}

// "ＭＳ ゴシック" where it is installed, else a Japanese family that is.
QFont GothicFont(const QFont& base)
{
    QFont font(base);
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"),
                      QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("VL Gothic")});
    return font;
}

QString FromUtf8(const char* text) { return QString::fromUtf8(text); }

std::optional<QKeySequence> ToShortCut(const QString& text) { return TextToShortCut(text.toStdString()); }

QString ShownText(const QKeySequence& shortcut) { return QString::fromStdString(ShortCutToText(shortcut)); }

// An action's caption without its accelerator: "補完候補の更新(&U)" gives
// "補完候補の更新".
QString PlainCaption(const QAction* action)
{
    QString caption = action->text();
    const qsizetype amp = caption.indexOf(QLatin1String("(&"));
    if (amp >= 0 && caption.endsWith(u')'))
        caption.truncate(amp);
    return caption.remove(u'&');
}

bool AskYesNo(QWidget* parent, const QString& message)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("情報"), message, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

}  // namespace

TFormShortCut::TFormShortCut(MenuActionList* actions, QWidget* parent) : QDialog(parent), actions_(actions)
{
    setObjectName(QStringLiteral("FormShortCut"));
    setWindowTitle(QStringLiteral("ショートカットの編集"));
    setModal(false);
    setFixedSize(334, 175);

    LabelCommand = new QLabel(QStringLiteral("コマンド"), this);
    ListShortCut = new QListWidget(this);
    ListShortCut->setObjectName(QStringLiteral("ListShortCut"));
    ListShortCut->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const ShortCutRow& row : ShortCutTable())
        ListShortCut->addItem(FromUtf8(row.ListText));
    // No entry is current until the user chooses one, so that the first
    // arrow key selects the first entry.
    ListShortCut->setCurrentIndex(QModelIndex());
    LabelCommand->setBuddy(ListShortCut);

    LabelShortCut = new QLabel(QStringLiteral("ショートカット"), this);
    ComboShortCut = new QComboBox(this);
    ComboShortCut->setObjectName(QStringLiteral("ComboShortCut"));
    ComboShortCut->setEditable(true);
    ComboShortCut->setInsertPolicy(QComboBox::NoInsert);
    // Inline completion would turn a typed "F1" into "F10" on Enter.
    ComboShortCut->setCompleter(nullptr);
    ComboShortCut->addItems(OfferedTexts());
    ComboShortCut->setCurrentIndex(-1);
    ComboShortCut->setEditText(QString());
    LabelShortCut->setBuddy(ComboShortCut);

    for (QWidget* w : {static_cast<QWidget*>(LabelCommand), static_cast<QWidget*>(ListShortCut),
                       static_cast<QWidget*>(LabelShortCut), static_cast<QWidget*>(ComboShortCut)})
        w->setFont(GothicFont(w->font()));

    ButtonDefault = new QPushButton(QStringLiteral("デフォルト"), this);
    ButtonDefault->setObjectName(QStringLiteral("ButtonDefault"));
    ButtonCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    ButtonOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonOK->setDefault(true);

    auto* left = new QVBoxLayout;
    left->addWidget(LabelCommand);
    left->addWidget(ListShortCut, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(LabelShortCut);
    right->addWidget(ComboShortCut);
    right->addStretch(1);
    right->addWidget(ButtonDefault);
    right->addWidget(ButtonCancel);
    right->addWidget(ButtonOK);
    auto* columns = new QHBoxLayout(this);
    columns->setContentsMargins(8, 8, 8, 8);
    columns->addLayout(left, 3);
    columns->addLayout(right, 2);

    setTabOrder(ListShortCut, ComboShortCut);
    setTabOrder(ComboShortCut, ButtonDefault);
    setTabOrder(ButtonDefault, ButtonCancel);
    setTabOrder(ButtonCancel, ButtonOK);

    ConfirmApply = [this](const QString& message) { return AskYesNo(this, message); };

    connect(ListShortCut, &QListWidget::itemSelectionChanged, this, &TFormShortCut::ListShortCutClick);
    connect(ComboShortCut, &QComboBox::editTextChanged, this, &TFormShortCut::ComboShortCutChange);
    connect(ButtonDefault, &QPushButton::clicked, this, &TFormShortCut::ButtonDefaultClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &TFormShortCut::ButtonCancelClick);
    connect(ButtonOK, &QPushButton::clicked, this, &TFormShortCut::ButtonOKClick);
}

TFormShortCut::~TFormShortCut() = default;

void TFormShortCut::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A window restored from the task bar is not shown anew.
    if (event->spontaneous())
        return;
    const QScreen* desktop = parentWidget() ? parentWidget()->screen() : screen();
    if (desktop)
        move(desktop->availableGeometry().center() - rect().center());
    FormShow();
}

void TFormShortCut::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        FormHide();
}

void TFormShortCut::FormShow()
{
    ShortcutTexts.clear();
    for (const ShortCutRow& row : ShortCutTable()) {
        const QAction* action = actions_->Action(QString::fromLatin1(row.Action));
        ShortcutTexts << (action ? ShownText(action->shortcut()) : QString());
    }
    ShowSelectedText();
}

void TFormShortCut::FormHide() { ShortcutTexts.clear(); }

int TFormShortCut::SelectedIndex() const
{
    const QList<QListWidgetItem*> selected = ListShortCut->selectedItems();
    return selected.isEmpty() ? -1 : ListShortCut->row(selected.first());
}

void TFormShortCut::ShowSelectedText()
{
    const int index = SelectedIndex();
    if (index < 0 || index >= ShortcutTexts.size())
        return;
    showingText_ = true;
    ComboShortCut->setEditText(ShortcutTexts.at(index));
    showingText_ = false;
}

void TFormShortCut::ListShortCutClick() { ShowSelectedText(); }

void TFormShortCut::ComboShortCutChange()
{
    if (showingText_)
        return;
    const int index = SelectedIndex();
    if (index < 0 || index >= ShortcutTexts.size())
        return;
    ShortcutTexts[index] = ComboShortCut->currentText();
}

void TFormShortCut::ButtonDefaultClick()
{
    if (ShortcutTexts.size() != static_cast<qsizetype>(ShortCutRowCount))
        return;
    for (std::size_t i = 0; i < ShortCutRowCount; ++i)
        ShortcutTexts[static_cast<qsizetype>(i)] = FromUtf8(ShortCutTable()[i].Default());
    ShowSelectedText();
}

void TFormShortCut::ButtonCancelClick() { reject(); }

QString TFormShortCut::ApplyProblems() const
{
    if (ShortcutTexts.size() != static_cast<qsizetype>(ShortCutRowCount))
        return {};
    QStringList lines;

    // What each action would get: the edited texts for the customisable
    // ones, the shortcuts they have for the others.
    struct Pending {
        const QAction* Action;
        QString Name;
        QKeySequence ShortCut;
    };
    std::vector<Pending> pending;
    for (const QAction* action : actions_->Actions()) {
        Pending p{action, PlainCaption(action), action->shortcut()};
        for (std::size_t i = 0; i < ShortCutRowCount; ++i) {
            const ShortCutRow& row = ShortCutTable()[i];
            if (action->objectName() != QLatin1String(row.Action))
                continue;
            p.Name = FromUtf8(row.ListText);
            const QString& text = ShortcutTexts.at(static_cast<qsizetype>(i));
            const std::optional<QKeySequence> shortcut = ToShortCut(text);
            if (!shortcut)
                lines << QStringLiteral("「%1」の「%2」はキーを表していません。ショートカットなしになります。")
                             .arg(p.Name, text.trimmed());
            p.ShortCut = shortcut.value_or(QKeySequence());
            break;
        }
        pending.push_back(p);
    }

    // Keys that several actions would share, in action-list order: the
    // first enabled one of them runs (see ShortCutPrecedence).
    for (std::size_t i = 0; i < pending.size(); ++i) {
        if (pending[i].ShortCut.isEmpty())
            continue;
        bool reported = false;
        for (std::size_t j = 0; j < i && !reported; ++j)
            reported = pending[j].ShortCut == pending[i].ShortCut;
        if (reported)
            continue;
        QStringList names;
        const Pending* runs = nullptr;
        for (std::size_t j = i; j < pending.size(); ++j) {
            if (pending[j].ShortCut != pending[i].ShortCut)
                continue;
            names << QStringLiteral("「%1」").arg(pending[j].Name);
            if (!runs && pending[j].Action->isEnabled())
                runs = &pending[j];
        }
        if (names.size() < 2)
            continue;
        QString line = QStringLiteral("「%1」が%2に割り当てられています。")
                           .arg(ShownText(pending[i].ShortCut), names.join(QStringLiteral("と")));
        if (runs)
            line += QStringLiteral("キーを押すと「%1」が実行されます。").arg(runs->Name);
        lines << line;
    }

    // Keys the editor acts on itself: with the editor focused the action
    // runs instead.
    if (editor_) {
        for (std::size_t i = 0; i < pending.size(); ++i) {
            if (pending[i].ShortCut.isEmpty() || !editor_->TakesKey(pending[i].ShortCut[0]))
                continue;
            bool reported = false;
            for (std::size_t j = 0; j < i && !reported; ++j)
                reported = pending[j].ShortCut == pending[i].ShortCut;
            if (reported)
                continue;
            const Pending* runs = nullptr;
            for (std::size_t j = i; j < pending.size() && !runs; ++j)
                if (pending[j].ShortCut == pending[i].ShortCut && pending[j].Action->isEnabled())
                    runs = &pending[j];
            QString line = QStringLiteral("「%1」はエディタのキー操作にも使われています。")
                               .arg(ShownText(pending[i].ShortCut));
            if (runs)
                line += QStringLiteral("エディタでキーを押すと「%1」が実行され、エディタの操作は行われません。")
                            .arg(runs->Name);
            lines << line;
        }
    }
    if (lines.isEmpty())
        return {};
    return lines.join(u'\n') + QStringLiteral("\n\nこのまま適用しますか?");
}

void TFormShortCut::ButtonOKClick()
{
    if (ShortcutTexts.size() == static_cast<qsizetype>(ShortCutRowCount)) {
        const QString problems = ApplyProblems();
        if (!problems.isEmpty() && ConfirmApply && !ConfirmApply(problems)) {
            // Back to editing.
            ComboShortCut->setFocus();
            return;
        }
        for (std::size_t i = 0; i < ShortCutRowCount; ++i) {
            QAction* action = actions_->Action(QString::fromLatin1(ShortCutTable()[i].Action));
            if (action)
                action->setShortcut(ToShortCut(ShortcutTexts.at(static_cast<qsizetype>(i))).value_or(QKeySequence()));
        }
    }
    accept();
}
