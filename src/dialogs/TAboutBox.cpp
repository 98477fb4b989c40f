#include "dialogs/TAboutBox.h"

#include "platform/ApplicationIcon.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

const char* const TAboutBox::kWebPage = "https://github.com/veltrane/scrivlet";

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("バージョン情報"));
    setModal(false);
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ProgramIcon = new QLabel(panel);
    ProgramIcon->setPixmap(ApplicationIcon().pixmap(32, 32));
    ProductName = new QLabel(QStringLiteral("Scrivlet"), panel);
    Version = new QLabel(QStringLiteral("Ver 1.4.14"), panel);
    Copyright = new QLabel(QStringLiteral("pLaTeX で日本語の文書を書くためのエディタ"), panel);
    Comments = new QLabel(panel);
    Comments->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(QString::fromLatin1(kWebPage)));
    Comments->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    Comments->setCursor(Qt::PointingHandCursor);
    connect(Comments, &QLabel::linkActivated, this, [this] { CommentsClick(); });

    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->addWidget(ProgramIcon);
    panelLayout->addWidget(ProductName);
    panelLayout->addWidget(Version);
    panelLayout->addWidget(Copyright);
    panelLayout->addWidget(Comments);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButtonClick(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint().expandedTo(QSize(256, 134)));
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TAboutBox::CommentsClick()
{
    // A failure of the desktop to open the page is not reported.
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(kWebPage)));
}
