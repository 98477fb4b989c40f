#include "dialogs/TFormYohaku.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include <limits>

namespace {

struct Place {
    MarginSnippet::Setting Setting;
    const char* Name;  // the controls' names without "Check" and "Spin"
    int Column;
    int Slot;
};

// Two columns of five, each a check box with its number box below it.
constexpr Place kPlaces[] = {
    {MarginSnippet::HeaderHeight, "HeaderHeight", 0, 0}, {MarginSnippet::HeadMargin, "HeadMargin", 0, 1},
    {MarginSnippet::TextHeight, "TextHeight", 0, 2},     {MarginSnippet::FooterMargin, "FooterMargin", 0, 3},
    {MarginSnippet::FooterHeight, "FooterHeight", 0, 4}, {MarginSnippet::TopMargin, "TopMargin", 1, 0},
    {MarginSnippet::LeftMargin, "LeftMargin", 1, 1},     {MarginSnippet::TextWidth, "TextWidth", 1, 2},
    {MarginSnippet::RightMargin, "RightMargin", 1, 3},   {MarginSnippet::BottomMargin, "BottomMargin", 1, 4},
};

}  // namespace

TFormYohaku::TFormYohaku(QWidget* parent) : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("FormYohaku"));
    setWindowTitle(QStringLiteral("余白設定"));
    setModal(false);
    setFixedSize(449, 254);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    setFont(font);

    for (const Place& place : kPlaces) {
        // The left column's captions are the longer ones.
        const int x = place.Column == 0 ? 12 : 206;
        const int y = 10 + place.Slot * 48;
        auto* check = new QCheckBox(QString::fromUtf8(MarginSnippet::Caption(place.Setting)), this);
        check->setObjectName(QStringLiteral("Check") + QLatin1String(place.Name));
        check->setGeometry(x, y, place.Column == 0 ? 190 : 140, 18);
        auto* spin = new QSpinBox(this);
        spin->setObjectName(QStringLiteral("Spin") + QLatin1String(place.Name));
        spin->setGeometry(x + 16, y + 20, 90, 22);
        // Any whole number, negative ones too.
        spin->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        spin->setValue(0);
        checks_[place.Setting] = check;
        spins_[place.Setting] = spin;
    }
    CheckHeaderHeight = checks_[MarginSnippet::HeaderHeight];
    SpinHeaderHeight = spins_[MarginSnippet::HeaderHeight];
    CheckHeadMargin = checks_[MarginSnippet::HeadMargin];
    SpinHeadMargin = spins_[MarginSnippet::HeadMargin];
    CheckTextHeight = checks_[MarginSnippet::TextHeight];
    SpinTextHeight = spins_[MarginSnippet::TextHeight];
    CheckFooterMargin = checks_[MarginSnippet::FooterMargin];
    SpinFooterMargin = spins_[MarginSnippet::FooterMargin];
    CheckFooterHeight = checks_[MarginSnippet::FooterHeight];
    SpinFooterHeight = spins_[MarginSnippet::FooterHeight];
    CheckTopMargin = checks_[MarginSnippet::TopMargin];
    SpinTopMargin = spins_[MarginSnippet::TopMargin];
    CheckLeftMargin = checks_[MarginSnippet::LeftMargin];
    SpinLeftMargin = spins_[MarginSnippet::LeftMargin];
    CheckTextWidth = checks_[MarginSnippet::TextWidth];
    SpinTextWidth = spins_[MarginSnippet::TextWidth];
    CheckRightMargin = checks_[MarginSnippet::RightMargin];
    SpinRightMargin = spins_[MarginSnippet::RightMargin];
    CheckBottomMargin = checks_[MarginSnippet::BottomMargin];
    SpinBottomMargin = spins_[MarginSnippet::BottomMargin];

    ButtonOK = new QPushButton(QStringLiteral("閉じる(&C)"), this);
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonOK->setGeometry(352, 180, 85, 25);
    Button1 = new QPushButton(QStringLiteral("コピー"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(352, 214, 85, 25);
    Button1->setDefault(true);
    Label1 = new QLabel(QStringLiteral("単位はmm"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(352, 12, 85, 16);
    connect(ButtonOK, &QPushButton::clicked, this, &TFormYohaku::ButtonOKClick);
    connect(Button1, &QPushButton::clicked, this, &TFormYohaku::Button1Click);
}

MarginSnippet::Values TFormYohaku::Values() const
{
    MarginSnippet::Values values;
    for (int i = 0; i < MarginSnippet::SettingCount; ++i) {
        // A text that is not (yet) a whole number counts as 0.
        bool number = false;
        const int value = spins_[i]->cleanText().toInt(&number);
        values[i] = {checks_[i]->isChecked(), number ? value : 0};
    }
    return values;
}

void TFormYohaku::Button1Click()
{
    QApplication::clipboard()->setText(QString::fromStdString(MarginSnippet::Build(Values())));
}

void TFormYohaku::ButtonOKClick() { hide(); }
