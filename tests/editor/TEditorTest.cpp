#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QVBoxLayout>
#include <QMimeData>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextCharFormat>

#include <gtest/gtest.h>

#include "editor/TEditor.h"
#include "editor/TEditorPopupMenu.h"
#include "editor/TEditorPreedit.h"

namespace {

// An editor in a shown window with focus, as the user meets it.
struct ShownEditor {
    TEditor editor;
    explicit ShownEditor(const char* text = "")
    {
        editor.resize(400, 300);
        editor.Lines().SetTextStr(text);
        editor.show();
        editor.activateWindow();
        editor.setFocus();
        QApplication::processEvents();
    }
    std::string Text() { return editor.Lines().GetTextStr(); }
    QWidget* Target() { return editor.viewport(); }
    QPoint CellPoint(int row, int col)
    {
        const TEditorCore& c = editor.Core();
        return QPoint(c.TextAreaLeft() + (col - c.TopCol()) * c.ColWidth() + 1,
                      c.TextAreaTop() + (row - c.TopRow()) * c.RowHeight() + 1);
    }
};

TEST(TEditorWidget, KeysAndCharactersReachTheText)
{
    ShownEditor e("abc\r\ndef");
    QTest::keyClick(&e.editor, Qt::Key_End);
    QTest::keyClicks(&e.editor, "xy");
    QTest::keyClick(&e.editor, Qt::Key_Return);
    QTest::keyClick(&e.editor, Qt::Key_Backslash);
    {
        // The yen key of Japanese keyboards types the same byte.
        QKeyEvent yen(QEvent::KeyPress, Qt::Key_yen, Qt::NoModifier, QString::fromUtf8("¥"));
        QApplication::sendEvent(&e.editor, &yen);
    }
    QTest::keyClick(&e.editor, Qt::Key_Tab);
    EXPECT_EQ(e.Text(), "abcxy\r\n\\\\\t\r\ndef");
    QTest::keyClick(&e.editor, Qt::Key_Backspace);
    QTest::keyClick(&e.editor, Qt::Key_Left);
    QTest::keyClick(&e.editor, Qt::Key_Delete);
    EXPECT_EQ(e.Text(), "abcxy\r\n\\\r\ndef");
    // Shift+arrows select; typing replaces the selection.
    QTest::keyClick(&e.editor, Qt::Key_Home);
    QTest::keyClick(&e.editor, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClicks(&e.editor, "Z");
    EXPECT_EQ(e.Text(), "abcxy\r\nZ\r\ndef");
    // Typed Japanese goes in as Shift-JIS bytes.
    {
        QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("表"));
        QApplication::sendEvent(&e.editor, &typed);
    }
    EXPECT_EQ(e.Text(), "abcxy\r\nZ\x95\x5c\r\ndef");
    // The context menu's shortcuts: Ctrl+Z undoes.
    QTest::keyClick(&e.editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(e.Text(), "abcxy\r\nZ\r\ndef");
}

TEST(TEditorWidget, InputMethodCommitsInsertOnceAndUnencodableTextIsRefused)
{
    ShownEditor e("ab");
    QString message;
    QObject::connect(&e.editor, &TEditor::MessageRequested, [&](const QString& m) { message = m; });
    QTest::keyClick(&e.editor, Qt::Key_End);
    {
        QInputMethodEvent preedit(QString::fromUtf8("かんじ"), {});
        QApplication::sendEvent(&e.editor, &preedit);
        EXPECT_EQ(e.Text(), "ab");
        QInputMethodEvent commit;
        commit.setCommitString(QString::fromUtf8("漢字"));
        QApplication::sendEvent(&e.editor, &commit);
    }
    EXPECT_EQ(e.Text(), "ab\x8a\xbf\x8e\x9a");
    // One undo takes the whole commit back.
    e.editor.Core().Undo();
    EXPECT_EQ(e.Text(), "ab");

    QInputMethodEvent emoji;
    emoji.setCommitString(QString::fromUtf8("a😀"));
    QApplication::sendEvent(&e.editor, &emoji);
    EXPECT_EQ(e.Text(), "ab");
    EXPECT_TRUE(message.contains(QStringLiteral("U+1F600"))) << message.toStdString();

    EXPECT_TRUE(e.editor.inputMethodQuery(Qt::ImCursorRectangle).toRect().isValid());
}

TEST(TEditorWidget, ABoxCopiedInOneEditorPastesAsABoxInAnother)
{
    ShownEditor a("abcd\r\nefgh\r\nijkl");
    a.editor.Core().SetBoxMode(true);
    a.editor.Core().Select(0, 1, 2, 3);
    a.editor.Core().CopyToClipboard();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data);
    EXPECT_TRUE(data->hasFormat(QString::fromLatin1(TEditor::kBoxMimeType)));
    EXPECT_EQ(data->text(), QStringLiteral("bc\r\nfg\r\njk"));

    ShownEditor b("12\r\n34");
    b.editor.Core().SetRowCol(0, 1);
    b.editor.Core().PasteFromClipboard();
    EXPECT_EQ(b.Text(), "1bc2\r\n3fg4\r\n jk");
}

TEST(TEditorWidget, ClipboardKeepsBytesExactAndRefusesForeignTextItCannotHold)
{
    ShownEditor e("x");
    // A lone lead byte and a control byte survive a copy and paste.
    e.editor.Lines().SetTextStr(std::string("\x81" "a\x01", 3));
    e.editor.Core().SelectAll();
    e.editor.Core().CopyToClipboard();
    e.editor.Core().ClearSelection();
    e.editor.Core().SetRowCol(0, 3);
    e.editor.Core().PasteFromClipboard();
    EXPECT_EQ(e.Text(), std::string("\x81" "a\x01\x81" "a\x01", 6));

    QGuiApplication::clipboard()->setText(QString::fromUtf8("ü"));  // no Shift-JIS code
    e.editor.Core().PasteFromClipboard();
    EXPECT_EQ(e.Text(), std::string("\x81" "a\x01\x81" "a\x01", 6));
    QGuiApplication::clipboard()->setText(QString::fromUtf8("あ\n"));
    e.editor.Core().SetRowCol(0, 0);
    e.editor.Core().PasteFromClipboard();
    EXPECT_EQ(e.Text().substr(0, 4), "\x82\xa0\r\n");
}

TEST(TEditorWidget, ContextMenuEnablesItsItemsByStateAndSetsMarks)
{
    ShownEditor e("one\r\ntwo\r\nthree");
    TEditorPopupMenu* menu = e.editor.BuiltinPopupMenu();
    ASSERT_TRUE(menu);
    QGuiApplication::clipboard()->clear();
    menu->Refresh();
    EXPECT_FALSE(menu->CutItem()->isEnabled());
    EXPECT_FALSE(menu->CopyItem()->isEnabled());
    EXPECT_FALSE(menu->UndoItem()->isEnabled());
    EXPECT_TRUE(menu->SelectAllItem()->isEnabled());
    EXPECT_FALSE(menu->BoxModeItem()->isChecked());

    QTest::keyClick(&e.editor, Qt::Key_Right, Qt::ShiftModifier);
    menu->Refresh();
    EXPECT_TRUE(menu->CutItem()->isEnabled());
    EXPECT_TRUE(menu->CopyItem()->isEnabled());
    menu->CopyItem()->trigger();
    menu->Refresh();
    EXPECT_TRUE(menu->PasteItem()->isEnabled());
    e.editor.Core().SetReadOnly(true);
    menu->Refresh();
    EXPECT_FALSE(menu->CutItem()->isEnabled());
    EXPECT_FALSE(menu->PasteItem()->isEnabled());
    EXPECT_TRUE(menu->CopyItem()->isEnabled());
    e.editor.Core().SetReadOnly(false);

    // Shift+Ctrl+3 sets mark 3 on the caret row; Ctrl+3 jumps to it.
    e.editor.Core().ClearSelection();
    e.editor.Core().SetRowCol(2, 0);
    menu->MarkSetItem(3)->trigger();
    EXPECT_EQ(e.editor.Core().GetRowMarks(2), 1 << 3);
    menu->Refresh();
    EXPECT_TRUE(menu->MarkSetItem(3)->isChecked());
    e.editor.Core().SetRowCol(0, 0);
    QTest::keyClick(&e.editor, Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(e.editor.Core().Row(), 2);
    menu->MarkSetItem(3)->trigger();  // toggles it off
    EXPECT_EQ(e.editor.Core().GetRowMarks(2), 0);

    QTest::keyClick(&e.editor, Qt::Key_K, Qt::ControlModifier);
    EXPECT_TRUE(e.editor.Core().BoxMode());

    // Box paste takes even another program's plain text as a box.
    e.editor.Core().SetBoxMode(false);
    QGuiApplication::clipboard()->setText(QStringLiteral("X\nY"));
    e.editor.Core().SetRowCol(0, 1);
    menu->Refresh();
    ASSERT_TRUE(menu->BoxPasteItem()->isEnabled());
    menu->BoxPasteItem()->trigger();
    EXPECT_EQ(e.editor.Lines().GetTextStr(), "oXne\r\ntYwo\r\nthree");
}

TEST(TEditorWidget, AnAssignedPopUpMenuTakesTheBuiltInMenuAndItsKeysAway)
{
    // The editor in a window with an action on Ctrl+K, as the main window has.
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* editor = new TEditor(&window);
    layout->addWidget(editor);
    int runs = 0;
    auto* action = new QAction(&window);
    action->setShortcut(QKeySequence(QStringLiteral("Ctrl+K")));
    action->setShortcutContext(Qt::WindowShortcut);
    window.addAction(action);
    QObject::connect(action, &QAction::triggered, [&] { ++runs; });
    window.resize(400, 300);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    editor->setFocus();
    editor->Lines().SetTextStr("ab");

    QTest::keyClick(editor, Qt::Key_K, Qt::ControlModifier);
    EXPECT_TRUE(editor->Core().BoxMode()) << "the built-in menu's key wins";
    EXPECT_EQ(runs, 0);
    EXPECT_TRUE(editor->TakesKey(QKeyCombination(Qt::ControlModifier, Qt::Key_K)));

    QMenu menu;
    editor->SetPopupMenu(&menu);
    EXPECT_EQ(editor->PopupMenu(), &menu);
    QTest::keyClick(editor, Qt::Key_K, Qt::ControlModifier);
    EXPECT_TRUE(editor->Core().BoxMode()) << "box mode was not toggled";
    EXPECT_EQ(runs, 1) << "the window's action ran";
    EXPECT_FALSE(editor->TakesKey(QKeyCombination(Qt::ControlModifier, Qt::Key_K)));
    // Ctrl+3 and Ctrl+A no longer jump or redo; the editor's own keys still work.
    editor->Core().PutMark(0, 3);
    editor->Core().SetRowCol(0, 2);
    QTest::keyClick(editor, Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(editor->Core().Col(), 2);
    QTest::keyClick(editor, Qt::Key_Home);
    EXPECT_EQ(editor->Core().Col(), 0);
    EXPECT_TRUE(editor->TakesKey(QKeyCombination(Qt::ControlModifier, Qt::Key_Home)));
    EXPECT_TRUE(editor->TakesKey(QKeyCombination(Qt::ShiftModifier, Qt::Key_A)));
    EXPECT_FALSE(editor->TakesKey(QKeyCombination(Qt::ControlModifier, Qt::Key_A)));

    editor->SetPopupMenu(nullptr);
    QTest::keyClick(editor, Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(editor->Core().Col(), 0) << "mark 3 is on row 0: the jump works again";
    QTest::keyClick(editor, Qt::Key_K, Qt::ControlModifier);
    EXPECT_FALSE(editor->Core().BoxMode());
    EXPECT_EQ(runs, 1);
}

TEST(TEditorWidget, AClickFocusesAndPutsTheCaretOnTheCell)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* field = new QLineEdit(&window);
    auto* editor = new TEditor(&window);
    layout->addWidget(field);
    layout->addWidget(editor);
    window.resize(400, 300);
    editor->Lines().SetTextStr("hello world\r\nsecond");
    window.show();
    window.activateWindow();
    field->setFocus();
    QApplication::processEvents();
    ASSERT_FALSE(editor->hasFocus());

    const TEditorCore& c = editor->Core();
    const QPoint cell(c.TextAreaLeft() + 3 * c.ColWidth() + 1, c.TextAreaTop() + c.RowHeight() + 1);
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, cell);
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_EQ(c.Row(), 1);
    EXPECT_EQ(c.Col(), 3);
    EXPECT_TRUE(editor->CaretVisible());
    EXPECT_EQ(editor->CaretRect().topLeft(), cell - QPoint(1, 1));
}

TEST(TEditorWidget, PaintsTextSelectionAndMarksIntoAnImage)
{
    ShownEditor e("abc\r\n\x95\x5c\\ref\r\n");
    TEditorCore& c = e.editor.Core();
    c.Marks().EofMark.SetVisible(true);
    c.Leftbar().SetVisible(true);
    c.Ruler().SetVisible(true);
    c.PutMark(0, 3);
    c.PutMark(0, 12);
    c.Select(0, 0, 0, 2);
    QImage image(e.editor.viewport()->size(), QImage::Format_RGB32);
    e.editor.viewport()->render(&image);
    // The selection's background is navy.
    const QPoint sel = e.CellPoint(0, 0) + QPoint(c.ColWidth() / 2, c.FontHeight() - 2);
    EXPECT_EQ(QColor(image.pixel(sel)), QColor(0, 0, 128));
    // Something was drawn in the second row's cells, and the image bar holds
    // the mark's tab colour.
    bool inked = false;
    for (int x = e.CellPoint(1, 0).x(); x < e.CellPoint(1, 6).x(); ++x)
        for (int y = e.CellPoint(1, 0).y(); y < e.CellPoint(1, 0).y() + c.FontHeight() - 2; ++y)
            inked |= QColor(image.pixel(x, y)) != QColor(Qt::white);
    EXPECT_TRUE(inked);
    EXPECT_EQ(QColor(image.pixel(c.Imagebar().LeftMargin() + 1, c.TextAreaTop() + 3)), QColor(0, 0, 128));
}

}  // namespace

namespace {

// What the window shows now, from its backing store, and what a full
// repaint would show.
QImage OnScreen(TEditor& editor)
{
    QApplication::processEvents();
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(editor.winId());
    return shot.toImage().convertToFormat(QImage::Format_RGB32);
}

QImage Repainted(TEditor& editor)
{
    QImage image(editor.size(), QImage::Format_RGB32);
    editor.render(&image);
    return image;
}

TEST(TEditorWidget, RepaintsAfterEditsMatchAFullRepaint)
{
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "row " + std::to_string(i) + " \x95\x5c\x8a\xbf some words to wrap around\r\n";
    ShownEditor e(text.c_str());
    TEditorCore& c = e.editor.Core();
    c.Leftbar().SetVisible(true);
    c.Leftbar().SetShowNumberMode(nmRow);
    c.Marks().RetMark.SetVisible(true);
    c.Marks().WrapMark.SetVisible(true);
    c.WrapOption().SetWrapByte(20);
    c.SetWordWrap(true);
    c.Caret().SetStyle(csBrief);  // keep the blinking caret out of the comparison
    c.SetRowCol(4, 5);
    if (OnScreen(e.editor).isNull())
        GTEST_SKIP() << "this platform cannot grab the window";

    const auto same = [&](const char* step) {
        e.editor.Core().HideCaret();
        const QImage shown = OnScreen(e.editor);
        const QImage full = Repainted(e.editor);
        e.editor.Core().ShowCaret();
        EXPECT_EQ(shown, full) << step;
    };
    same("start");
    QTest::keyClick(&e.editor, Qt::Key_Return);
    same("enter adds a row");
    QTest::keyClick(&e.editor, Qt::Key_Backspace);
    same("backspace joins it again");
    QTest::keyClicks(&e.editor, "longer text that wraps to more rows");
    same("typing adds wrapped rows");
    for (int i = 0; i < 12; ++i)
        QTest::keyClick(&e.editor, Qt::Key_Backspace);
    same("deleting removes them");
    QTest::keyClick(&e.editor, Qt::Key_PageDown);
    same("page down scrolls");
}

TEST(TEditorWidget, TheCaretRowUnderlineLeavesTheRowTheCaretLeft)
{
    ShownEditor e("one\r\ntwo\r\nthree\r\nfour\r\nfive");
    TEditorCore& c = e.editor.Core();
    c.Marks().Underline.SetVisible(true);
    c.Caret().SetStyle(csBrief);
    if (OnScreen(e.editor).isNull())
        GTEST_SKIP() << "this platform cannot grab the window";
    ASSERT_TRUE(e.editor.CaretVisible());
    QTest::keyClick(&e.editor, Qt::Key_Down);
    QTest::keyClick(&e.editor, Qt::Key_Down);
    EXPECT_EQ(OnScreen(e.editor), Repainted(e.editor));
    c.SetRowCol(4, 1);
    EXPECT_EQ(OnScreen(e.editor), Repainted(e.editor));
}

}  // namespace

namespace {

QImage ViewportImage(TEditor& editor)
{
    QImage image(editor.viewport()->size(), QImage::Format_RGB32);
    editor.viewport()->render(&image);
    return image;
}

// The pixels of cells [fromCol, toCol) of a row, from its top down to
// `lines` pixel lines.
QImage CellStrip(const QImage& image, const TEditorCore& c, int row, int fromCol, int toCol, int lines)
{
    const int x = c.TextAreaLeft() + (fromCol - c.TopCol()) * c.ColWidth();
    const int y = c.TextAreaTop() + (row - c.TopRow()) * c.RowHeight();
    return image.copy(x, y, (toCol - fromCol) * c.ColWidth(), lines);
}

bool Inked(const QImage& strip)
{
    for (int y = 0; y < strip.height(); ++y)
        for (int x = 0; x < strip.width(); ++x)
            if (QColor(strip.pixel(x, y)) != QColor(Qt::white))
                return true;
    return false;
}

QInputMethodEvent Composing(const QString& text, int cursor, QList<QInputMethodEvent::Attribute> formats = {})
{
    formats.append(QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, cursor, 1));
    return QInputMethodEvent(text, formats);
}

QInputMethodEvent::Attribute Format(int start, int length, QTextCharFormat::UnderlineStyle underline)
{
    QTextCharFormat format;
    format.setUnderlineStyle(underline);
    return QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, start, length, format);
}

TEST(TEditorPreedit, MeasuresCellsByTheCodePageAndMapsUtf16IndexesToCells)
{
    EXPECT_EQ(TEditorPreedit::CellsOf(U'a'), 1);
    EXPECT_EQ(TEditorPreedit::CellsOf(U'\uFF71'), 1);  // half-width katakana
    EXPECT_EQ(TEditorPreedit::CellsOf(U'\u3042'), 2);
    EXPECT_EQ(TEditorPreedit::CellsOf(U'\u00FC'), 2);   // not in the code page
    EXPECT_EQ(TEditorPreedit::CellsOf(U'\U0001F600'), 2);

    // The emoji takes two UTF-16 units but is one character of 2 cells; the
    // cursor after it and the format over it are counted in units.
    TEditorPreedit preedit;
    preedit.Set(QString::fromUtf8("a😀ｱ"),
                {QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, 3, 0),
                 Format(1, 2, QTextCharFormat::DashUnderline)});
    ASSERT_EQ(preedit.Codes().size(), 3u);
    EXPECT_EQ(preedit.Columns(), (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(preedit.Cells(), 4);
    EXPECT_EQ(preedit.CursorCell(), 3);
    EXPECT_FALSE(preedit.CursorVisible());
    EXPECT_FALSE(preedit.Looks()[0].marked);
    EXPECT_TRUE(preedit.Looks()[1].marked);
    EXPECT_FALSE(preedit.Looks()[2].marked);

    // Without a cursor attribute the cursor stands visible at the end.
    preedit.Set(QString::fromUtf8("かな"), {});
    EXPECT_EQ(preedit.CursorCell(), 4);
    EXPECT_TRUE(preedit.CursorVisible());
}

TEST(TEditorWidget, ThePreeditPushesTheRestOfTheCaretRowAsideUntilTheCommit)
{
    const std::string text = "\\documentclass{jsarticle}\r\nnext row";
    ShownEditor e(text.c_str());
    TEditorCore& c = e.editor.Core();
    c.SetRowCol(0, 8);
    c.HideCaret();  // keep the blinking caret out of the pictures
    const int lines = c.FontHeight() - 2;  // above the underline
    const QImage before = ViewportImage(e.editor);
    const std::vector<int> plainColumns = e.editor.Painter().PaintedColumns(0);

    auto composing = Composing(QString::fromUtf8("かんじ"), 3, {Format(0, 3, QTextCharFormat::SingleUnderline)});
    QApplication::sendEvent(&e.editor, &composing);
    EXPECT_EQ(e.Text(), text);
    EXPECT_FALSE(c.Modified());

    const QImage during = ViewportImage(e.editor);
    EXPECT_EQ(CellStrip(during, c, 0, 0, 8, lines), CellStrip(before, c, 0, 0, 8, lines));
    EXPECT_EQ(CellStrip(during, c, 0, 14, 14 + 17, lines), CellStrip(before, c, 0, 8, 8 + 17, lines))
        << "the text after the caret moves right by the preedit's 6 cells";
    EXPECT_TRUE(Inked(CellStrip(during, c, 0, 8, 14, lines)));
    EXPECT_EQ(CellStrip(during, c, 1, 0, 20, c.RowHeight()), CellStrip(before, c, 1, 0, 20, c.RowHeight()));
    // Underlined across its whole width, on the row's last font line.
    const QImage underline = CellStrip(during, c, 0, 8, 14, c.FontHeight()).copy(0, c.FontHeight() - 1, 6 * c.ColWidth(), 1);
    int gaps = 0;
    for (int x = 0; x < underline.width(); ++x)
        gaps += QColor(underline.pixel(x, 0)) == QColor(Qt::white);
    EXPECT_EQ(gaps, 0) << "pixels missing from the underline";

    std::vector<int> columns = e.editor.Painter().PaintedColumns(0);
    EXPECT_EQ(columns[7], 7);
    EXPECT_EQ(columns[8], 14);
    EXPECT_EQ(columns[24], 30);

    // Cancelled: the row is as before.
    QInputMethodEvent cancel;
    QApplication::sendEvent(&e.editor, &cancel);
    EXPECT_EQ(ViewportImage(e.editor), before);
    EXPECT_EQ(e.editor.Painter().PaintedColumns(0), plainColumns);

    // Composed again and committed: one insertion, one undo step.
    QApplication::sendEvent(&e.editor, &composing);
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("漢字"));
    QApplication::sendEvent(&e.editor, &commit);
    EXPECT_EQ(e.Text(), "\\documen\x8a\xbf\x8e\x9a" "tclass{jsarticle}\r\nnext row");
    EXPECT_FALSE(e.editor.Preedit().Active());
    EXPECT_EQ(c.Col(), 12);
    c.Undo();
    EXPECT_EQ(e.Text(), text);
}

TEST(TEditorWidget, TheCaretAndTheCandidateWindowFollowThePreeditCursor)
{
    ShownEditor e("ab\r\ncd");
    TEditorCore& c = e.editor.Core();
    c.SetRowCol(1, 1);
    const QRect plain = e.editor.CaretRect();
    const QRect plainIm = e.editor.inputMethodQuery(Qt::ImCursorRectangle).toRect();

    // Left inside あいうえお: the cursor after い, 4 cells in.
    auto composing = Composing(QString::fromUtf8("あいうえお"), 2);
    QApplication::sendEvent(&e.editor, &composing);
    EXPECT_EQ(e.editor.CaretRect(), plain.translated(4 * c.ColWidth(), 0));
    EXPECT_EQ(e.editor.inputMethodQuery(Qt::ImCursorRectangle).toRect(), plainIm.translated(4 * c.ColWidth(), 0));
    EXPECT_EQ(c.Col(), 1);

    // The clause being converted (うえ, shown with a dashed line by the input
    // method) is underlined twice as thick as the rest.
    c.HideCaret();
    auto converting = Composing(QString::fromUtf8("あいうえお"), 2,
                                {Format(0, 2, QTextCharFormat::SingleUnderline),
                                 Format(2, 2, QTextCharFormat::DashUnderline),
                                 Format(4, 1, QTextCharFormat::SingleUnderline)});
    QApplication::sendEvent(&e.editor, &converting);
    const QImage image = ViewportImage(e.editor);
    const auto ink = [&](int col, int fromBottom) {
        const QImage cell = CellStrip(image, c, 1, col, col + 1, c.FontHeight());
        return QColor(cell.pixel(c.ColWidth() / 2, c.FontHeight() - 1 - fromBottom)) != QColor(Qt::white);
    };
    EXPECT_TRUE(ink(1, 0));
    EXPECT_FALSE(ink(1, 1)) << "あ has a thin line";
    EXPECT_TRUE(ink(5, 0));
    EXPECT_TRUE(ink(5, 1)) << "う is in the marked clause";
    EXPECT_FALSE(ink(9, 1)) << "お has a thin line";
}

TEST(TEditorWidget, WhatTheScreenShowsWhileComposingMatchesAFullRepaint)
{
    ShownEditor e("first row\r\nsecond row\r\nthird");
    TEditorCore& c = e.editor.Core();
    c.Caret().SetStyle(csBrief);
    c.SetRowCol(1, 3);
    if (OnScreen(e.editor).isNull())
        GTEST_SKIP() << "this platform cannot grab the window";
    const auto same = [&](const char* step) {
        c.HideCaret();
        const QImage shown = OnScreen(e.editor);
        const QImage full = Repainted(e.editor);
        c.ShowCaret();
        EXPECT_EQ(shown, full) << step;
    };
    auto longer = Composing(QString::fromUtf8("にほんご"), 4);
    QApplication::sendEvent(&e.editor, &longer);
    same("a preedit appears");
    auto shorter = Composing(QString::fromUtf8("に"), 1);
    QApplication::sendEvent(&e.editor, &shorter);
    same("the preedit shrinks");
    c.SetRowCol(2, 1);
    same("the caret leaves the row while composing");
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("二"));
    QApplication::sendEvent(&e.editor, &commit);
    same("committed");
    EXPECT_EQ(e.Text(), "first row\r\nsecond row\r\nt\x93\xf1hird");
}

}  // namespace
