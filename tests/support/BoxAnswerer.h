#pragma once
// A helper of the widget tests: answers the modal message boxes that come up
// while a test runs.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

// Answers each message box that comes up with the button captioned `answer`.
class BoxAnswerer {
public:
    BoxAnswerer()
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || box == answered_)
                return;
            answered_ = box;
            ++asked;
            texts << box->text();
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == answer)
                    QTimer::singleShot(0, button, &QAbstractButton::click);
            }
        });
        timer_.start();
    }
    QString answer;
    int asked = 0;
    QStringList texts;  // the text of every box answered, in order

private:
    QTimer timer_;
    QMessageBox* answered_ = nullptr;
};
