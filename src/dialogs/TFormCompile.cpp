#include "dialogs/TFormCompile.h"

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <unistd.h>

#include "build/TypesetterCommand.h"
#include "editor/core/ShiftJisCodec.h"

namespace {

QString Decoded(const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }

}  // namespace

namespace {

// How long one slice of output may take to show, and how much a slice holds.
constexpr int kSliceMs = 8;
constexpr qsizetype kSliceChars = 2048;

}  // namespace

TFormCompile::TFormCompile(QWidget* parent)
    : QDialog(parent), killTimer_(new QTimer(this)), showTimer_(new QTimer(this))
{
    setObjectName(QStringLiteral("FormCompile"));
    setWindowTitle(QStringLiteral("コンパイル"));
    setModal(true);
    resize(640, 400);
    Output = new QPlainTextEdit(this);
    Output->setObjectName(QStringLiteral("Output"));
    Output->setReadOnly(true);
    Output->setLineWrapMode(QPlainTextEdit::NoWrap);
    Output->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Output->setFocusPolicy(Qt::ClickFocus);
    // A console's scrollback: the oldest lines go first.
    Output->setMaximumBlockCount(20000);
    Input = new QLineEdit(this);
    Input->setObjectName(QStringLiteral("Input"));
    auto* inputLabel = new QLabel(QStringLiteral("入力(&I):"), this);
    inputLabel->setBuddy(Input);
    ButtonStop = new QPushButton(QStringLiteral("中止"), this);
    ButtonStop->setObjectName(QStringLiteral("ButtonStop"));
    // Return belongs to the input line.
    ButtonStop->setAutoDefault(false);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(inputLabel);
    bottom->addWidget(Input, 1);
    bottom->addWidget(ButtonStop);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Output, 1);
    layout->addLayout(bottom);
    setTabOrder(Input, ButtonStop);

    killTimer_->setSingleShot(true);
    connect(killTimer_, &QTimer::timeout, this, [this] {
        if (Running())
            process_->kill();
    });
    showTimer_->setSingleShot(true);
    showTimer_->setInterval(0);
    connect(showTimer_, &QTimer::timeout, this, [this] { ShowPending(kSliceMs); });
    connect(ButtonStop, &QPushButton::clicked, this, &TFormCompile::ButtonStopClick);
    connect(Input, &QLineEdit::returnPressed, this, &TFormCompile::InputReturnPressed);
}

TFormCompile::~TFormCompile()
{
    if (Running()) {
        process_->kill();
        process_->waitForFinished(kKillDelayMs);
    }
}

bool TFormCompile::Running() const { return process_ && process_->state() != QProcess::NotRunning; }

TFormCompile::Result TFormCompile::Run(const TypesetterCommand& command)
{
    result_ = Result();
    decoder_ = ConsoleDecoder();
    pending_.clear();
    Output->clear();
    Input->clear();
    ButtonStop->setEnabled(true);
    Input->setEnabled(true);
    setWindowTitle(command.Arguments.empty() ? QStringLiteral("コンパイル")
                                             : QStringLiteral("コンパイル -- ") + Decoded(command.Arguments.back()));

    QProcess process;
    process_ = &process;
    process.setProgram(Decoded(command.Program));
    QStringList arguments;
    for (const std::string& argument : command.Arguments)
        arguments << Decoded(argument);
    process.setArguments(arguments);
    if (!command.WorkingFolder.empty()) {
        const QString folder = Decoded(command.WorkingFolder);
        if (QFile::encodeName(folder).toStdString() == command.WorkingFolder) {
            process.setWorkingDirectory(folder);
        } else {
            // A folder name that is not UTF-8 (a Shift-JIS name from an
            // archive) does not survive the trip through QString: the child
            // moves there by its bytes.
            const std::string bytes = command.WorkingFolder;
            process.setChildProcessModifier([bytes] {
                if (chdir(bytes.c_str()) != 0)
                    _exit(127);
            });
        }
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const std::string& entry : command.Environment) {
        const std::size_t equals = entry.find('=');
        if (equals != std::string::npos)
            environment.insert(Decoded(entry.substr(0, equals)), Decoded(entry.substr(equals + 1)));
    }
    process.setProcessEnvironment(environment);
    // The console shows both streams, in the order they come.
    process.setProcessChannelMode(QProcess::MergedChannels);

    connect(&process, &QProcess::readyReadStandardOutput, this, &TFormCompile::ReadOutput);
    connect(&process, &QProcess::errorOccurred, this, [this, &process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            result_.StartError = process.errorString();
            if (isVisible())
                done(QDialog::Rejected);
        }
    });
    connect(&process, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        ReadOutput();
        Append(QString::fromStdString(decoder_.Finish()));
        ShowPending(-1);
        result_.ExitCode = status == QProcess::NormalExit ? exitCode : -1;
        killTimer_->stop();
        done(QDialog::Accepted);
    });

    process.start(QIODevice::ReadWrite);
    if (process.state() == QProcess::NotRunning || !result_.StartError.isEmpty()) {
        if (result_.StartError.isEmpty())
            result_.StartError = process.errorString();
        process.disconnect(this);
        process_ = nullptr;
        return result_;
    }
    result_.Started = true;
    Input->setFocus();
    // The window's own event loop: the main window repaints meanwhile.
    exec();
    if (!result_.StartError.isEmpty())
        result_.Started = false;
    // Closed some other way while the typesetter still runs: it is ended,
    // since nothing would read its output any more.
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(kKillDelayMs);
    }
    process.disconnect(this);
    killTimer_->stop();
    process_ = nullptr;
    return result_;
}

void TFormCompile::ReadOutput()
{
    if (!process_)
        return;
    const QByteArray bytes = process_->readAllStandardOutput();
    if (!bytes.isEmpty())
        Append(QString::fromStdString(decoder_.Feed(std::string_view(bytes.constData(), bytes.size()))));
}

void TFormCompile::Append(const QString& text)
{
    if (text.isEmpty())
        return;
    pending_ += text;
    if (!showTimer_->isActive())
        showTimer_->start();
}

void TFormCompile::ShowPending(int budgetMs)
{
    if (pending_.isEmpty())
        return;
    QElapsedTimer clock;
    clock.start();
    QScrollBar* bar = Output->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    QTextCursor cursor(Output->document());
    cursor.movePosition(QTextCursor::End);
    qsizetype shown = 0;
    while (shown < pending_.size() && (budgetMs < 0 || clock.elapsed() < budgetMs)) {
        qsizetype end = std::min(pending_.size(), shown + kSliceChars);
        // Whole lines where there are some, and never half a surrogate pair.
        const qsizetype lineEnd = pending_.lastIndexOf(u'\n', end - 1);
        if (end < pending_.size() && lineEnd >= shown)
            end = lineEnd + 1;
        else if (end < pending_.size() && pending_.at(end - 1).isHighSurrogate())
            --end;
        cursor.insertText(pending_.mid(shown, end - shown));
        shown = end;
    }
    pending_.remove(0, shown);
    if (atEnd)
        bar->setValue(bar->maximum());
    if (!pending_.isEmpty())
        showTimer_->start();
}

void TFormCompile::InputReturnPressed()
{
    if (!Running())
        return;
    const QString line = Input->text();
    std::string bytes;
    char32_t bad = 0;
    if (!ShiftJisCodec::EncodeUtf8(line.toStdString(), bytes, &bad)) {
        // Nothing half-sent: the line stays for the user to mend.
        Append(QStringLiteral("\n[%1 は Shift-JIS で送れません]\n").arg(QString::fromUcs4(&bad, 1)));
        return;
    }
    bytes += '\n';
    process_->write(bytes.data(), static_cast<qint64>(bytes.size()));
    // A terminal would echo the line.
    Append(line + u'\n');
    Input->clear();
}

void TFormCompile::ButtonStopClick()
{
    if (!Running())
        return;
    result_.Stopped = true;
    ButtonStop->setEnabled(false);
    Input->setEnabled(false);
    process_->terminate();
    killTimer_->start(kKillDelayMs);
}

void TFormCompile::reject()
{
    // Escape stops the typesetter; the window closes when it has ended.
    if (Running())
        ButtonStopClick();
    else
        QDialog::reject();
}

void TFormCompile::closeEvent(QCloseEvent* event)
{
    if (Running()) {
        ButtonStopClick();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
