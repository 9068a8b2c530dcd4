#pragma once
// A main window on the offscreen platform, driven through its widgets, with the recording
// platform answering its questions.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QThread>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

#include "platform/recording_platform.h"
#include "window/form1.h"

// Handles events until the condition holds, for at most the deadline (twenty seconds unless
// told: a curve of runs under the sanitizers takes its time).
inline bool waitFor(const std::function<bool()>& done, int deadline_ms = 20000)
{
    const QDeadlineTimer deadline(deadline_ms);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return done();
}

// The main window, except that ending the program is only counted: a test must outlive it.
class TestForm1 : public sp::Form1 {
public:
    using sp::Form1::Form1;
    int ended = 0;

protected:
    void endProgram() override { ++ended; }
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(locale());
        form = std::make_unique<TestForm1>(platform);
        QObject::connect(form.get(), &sp::Form1::laidOut, [this] { ++layouts; });
        form->show();
        QCoreApplication::processEvents();
        layouts = 0;
        platform.clear();
    }
    void TearDown() override
    {
        form.reset();
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    }
    virtual QLocale locale() const { return QLocale(QLocale::English, QLocale::UnitedStates); }

    template <class T>
    T* child(const char* name) const
    {
        T* widget = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* text(const char* name) const { return child<QLineEdit>(name); }
    QString caption(const char* name) const { return child<QLabel>(name)->text(); }

    // What typing does: the field's text changes, and its handler runs at once.
    static void type(QLineEdit* edit, const QString& content) { edit->setText(content); }
    static void insertAt(QLineEdit* edit, int position, const QString& s)
    {
        edit->setCursorPosition(position);
        edit->insert(s);
    }

    sp::RecordingPlatform platform;
    std::unique_ptr<TestForm1> form;
    int layouts = 0;
};
