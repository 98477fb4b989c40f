#include <QApplication>
#include <QWheelEvent>

#include <climits>

#include <gtest/gtest.h>

#include "editor/TEditor.h"
#include "editor/WheelSteps.h"

namespace {

TEST(WheelSteps, GathersPartsOfAStepAndDropsThemWhenTheTurnReverses)
{
    WheelSteps steps;
    int total = 0;
    for (int i = 0; i < 7; ++i)
        total += steps.Add(15);
    EXPECT_EQ(total, 0);
    EXPECT_EQ(steps.Add(15), 1);  // the eighth part completes the step
    EXPECT_EQ(steps.Add(300), 2);
    EXPECT_EQ(steps.Rest(), 60);
    // The other way: the 60 left over do not cancel the first half step.
    EXPECT_EQ(steps.Add(-60), 0);
    EXPECT_EQ(steps.Add(-60), -1);
    EXPECT_EQ(steps.Add(INT_MAX), WheelSteps::kMaxStepsPerEvent);
    EXPECT_EQ(steps.Add(INT_MIN), -WheelSteps::kMaxStepsPerEvent);
}

void SendWheel(TEditor& editor, int units, Qt::KeyboardModifiers modifiers = {}, QPoint pixels = {})
{
    const QPointF pos(20, 20);
    QWheelEvent event(pos, editor.viewport()->mapToGlobal(pos), pixels, QPoint(0, units), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(editor.viewport(), &event);
}

TEST(TEditorWheel, FineStepsAddUpToOneNotificationPerWholeStep)
{
    TEditor editor;
    editor.resize(300, 200);
    std::vector<int> deltas;
    QObject::connect(&editor, &TEditor::MouseWheel, [&](Qt::KeyboardModifiers, int delta, bool* handled) {
        deltas.push_back(delta);
        *handled = true;
    });
    for (int i = 0; i < 16; ++i)
        SendWheel(editor, -15);
    EXPECT_EQ(deltas, (std::vector<int>{-120, -120}));
    deltas.clear();
    SendWheel(editor, 240);
    EXPECT_EQ(deltas, (std::vector<int>{120, 120}));
    deltas.clear();
    // Pixels only: enough of them make a step.
    for (int i = 0; i < 20 && deltas.empty(); ++i)
        SendWheel(editor, 0, {}, QPoint(0, -10));
    EXPECT_EQ(deltas, (std::vector<int>{-120}));
}

TEST(TEditorWheel, UnhandledFineStepsScrollTheView)
{
    TEditor editor;
    editor.resize(300, 200);
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "line\r\n";
    editor.Lines().SetTextStr(text);
    for (int i = 0; i < 7; ++i)
        SendWheel(editor, -15);
    EXPECT_EQ(editor.Core().TopRow(), 0);
    SendWheel(editor, -15);
    EXPECT_EQ(editor.Core().TopRow(), QApplication::wheelScrollLines());
}

}  // namespace
