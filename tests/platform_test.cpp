#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QMediaDevices>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include "platform/qt_platform.h"
#include "platform/recording_platform.h"
#include "platform/tone_samples.h"

namespace {

using Kind = sp::RecordingPlatform::Kind;

// Counts the user-input events a widget receives. The offscreen platform queues an Enter
// event when the cursor is moved into a window, which is the one kind of user input a
// headless test can put into the window system's queue the way a real mouse does.
class InputCounter : public QWidget {
public:
    int enters = 0;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::Enter)
            ++enters;
        return QWidget::event(e);
    }
};

void process_pending_events()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

TEST(QtTone, WaitsItsDurationRunningTimersButHoldingBackUserInput)
{
    InputCounter window;
    window.setGeometry(100, 100, 200, 200);
    window.show();
    QCursor::setPos(0, 0);
    process_pending_events();
    ASSERT_EQ(window.enters, 0);

    // Halfway through the tone the "mouse" enters the window. A timer is not user input, so
    // it must fire during the tone: a sleeping wait would starve the audio backend.
    int timer_ticks = 0;
    int enters_during_tone = -1;
    QTimer::singleShot(50, [&] {
        ++timer_ticks;
        QCursor::setPos(200, 200);
    });
    QTimer::singleShot(150, [&] {
        ++timer_ticks;
        enters_during_tone = window.enters;
    });

    sp::QtPlatform platform;
    QElapsedTimer clock;
    clock.start();
    platform.tone(880, 300);
    const qint64 elapsed = clock.elapsed();

    // The tone returns only when it has ended, with or without a sound card.
    EXPECT_GE(elapsed, 300);
    EXPECT_EQ(timer_ticks, 2);
    EXPECT_EQ(enters_during_tone, 0);
    EXPECT_EQ(window.enters, 0);

    // The input was held back, not lost: it arrives once the tone is over.
    process_pending_events();
    EXPECT_EQ(window.enters, 1);
}

// --- the samples of the tone ---

QAudioFormat format(int rate, int channels, QAudioFormat::SampleFormat sample_format)
{
    QAudioFormat f;
    f.setSampleRate(rate);
    f.setChannelCount(channels);
    f.setSampleFormat(sample_format);
    return f;
}

std::vector<double> channel(const QByteArray& bytes, const QAudioFormat& f, int which)
{
    std::vector<double> out;
    const int frame = f.bytesPerFrame();
    for (qsizetype at = qsizetype(which) * f.bytesPerSample(); at + f.bytesPerSample() <= bytes.size();
         at += frame)
        out.push_back(f.normalizedSampleValue(bytes.constData() + at));
    return out;
}

int sign_changes(const std::vector<double>& v)
{
    int n = 0;
    for (std::size_t i = 1; i < v.size(); ++i)
        n += (v[i - 1] < 0) != (v[i] < 0);
    return n;
}

double peak(const std::vector<double>& v)
{
    double p = 0;
    for (double x : v)
        p = std::max(p, std::abs(x));
    return p;
}

TEST(ToneSamples, AreASineOfTheFrequencyAndLengthAskedFor)
{
    const QAudioFormat f = format(48000, 1, QAudioFormat::Int16);
    const QByteArray bytes = sp::tone_samples(f, 880, 300);
    ASSERT_EQ(bytes.size(), 48000 * 300 / 1000 * 2);

    const std::vector<double> v = channel(bytes, f, 0);
    // 880 periods a second cross zero twice each: 528 times in 300 ms.
    EXPECT_NEAR(sign_changes(v), 2 * 880 * 0.3, 2);
    EXPECT_NEAR(peak(v), sp::kToneLevel, 0.01);
    // Faded in and out, so that switching the sound on and off does not click.
    EXPECT_LT(std::abs(v.front()), 0.01);
    EXPECT_LT(std::abs(v.back()), 0.01);
}

TEST(ToneSamples, FollowTheOutputsSampleFormatOnEveryChannel)
{
    for (const auto sample_format :
         {QAudioFormat::UInt8, QAudioFormat::Int16, QAudioFormat::Int32, QAudioFormat::Float}) {
        SCOPED_TRACE(int(sample_format));
        const QAudioFormat f = format(44100, 2, sample_format);
        const QByteArray bytes = sp::tone_samples(f, 880, 100);
        ASSERT_EQ(bytes.size(), qsizetype(4410) * f.bytesPerFrame());
        const std::vector<double> left = channel(bytes, f, 0);
        const std::vector<double> right = channel(bytes, f, 1);
        EXPECT_EQ(left, right);
        EXPECT_NEAR(peak(left), sp::kToneLevel, 0.02);
        EXPECT_NEAR(sign_changes(left), 2 * 880 * 0.1, 2);
    }
}

TEST(ToneSamples, NothingToPlayGivesNothingOrSilence)
{
    const QAudioFormat f = format(48000, 1, QAudioFormat::Int16);
    EXPECT_TRUE(sp::tone_samples(f, 880, 0).isEmpty());
    EXPECT_TRUE(sp::tone_samples(f, 880, -300).isEmpty());
    EXPECT_TRUE(sp::tone_samples(QAudioFormat(), 880, 300).isEmpty());
    EXPECT_TRUE(sp::tone_samples(format(48000, 1, QAudioFormat::Unknown), 880, 300).isEmpty());

    const QByteArray silent = sp::tone_samples(f, 0, 100);
    ASSERT_EQ(silent.size(), 4800 * 2);
    EXPECT_EQ(peak(channel(silent, f, 0)), 0.0);
    EXPECT_EQ(peak(channel(sp::tone_samples(f, -880, 100), f, 0)), 0.0);
}

// --- the boxes ---

TEST(QtBoxes, MessageHasNoIconAndOnlyOk)
{
    const auto box = sp::make_message_box(nullptr, "Ошибка", "Должно быть больше 0!");
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box->windowTitle(), "Ошибка");
    EXPECT_EQ(box->text(), "Должно быть больше 0!");
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
}

TEST(QtBoxes, QuestionDefaultsToYesAndEscapeMeansNo)
{
    QWidget owner;
    const auto box = sp::make_question_box(&owner, "На Выход", "Вы абсолютно уверены?");
    EXPECT_EQ(box->parentWidget(), &owner);
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box->windowTitle(), "На Выход");
    EXPECT_EQ(box->text(), "Вы абсолютно уверены?");
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes));
    // Closing the question without an answer must not count as a confirmation.
    EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::No));
}

// --- where the documents are looked for ---

TEST(DocumentPath, CurrentDirectoryFirstThenBesideTheProgram)
{
    QTemporaryDir current_dir, program_dir;
    ASSERT_TRUE(current_dir.isValid() && program_dir.isValid());
    const QDir current(current_dir.path()), program(program_dir.path());
    const auto touch = [](const QDir& d, const QString& name) {
        QFile f(d.absoluteFilePath(name));
        return f.open(QIODevice::WriteOnly);
    };
    ASSERT_TRUE(touch(current, "spravka.pdf"));
    ASSERT_TRUE(touch(program, "spravka.pdf"));
    ASSERT_TRUE(touch(program, "uprav.pdf"));

    EXPECT_EQ(sp::document_path("spravka.pdf", current, program),
              current.absoluteFilePath("spravka.pdf"));
    EXPECT_EQ(sp::document_path("uprav.pdf", current, program),
              program.absoluteFilePath("uprav.pdf"));
    // Found nowhere: the name in the current directory, so that opening it fails quietly.
    EXPECT_EQ(sp::document_path("spravka2.pdf", current, program),
              current.absoluteFilePath("spravka2.pdf"));
}

// --- the recording fake ---

TEST(RecordingPlatform, RecordsEveryCallInOrderWithItsArguments)
{
    sp::RecordingPlatform p;
    QWidget owner;
    p.tone(880, 300);
    p.message(&owner, "Ошибка", "не может быть отрицательным!");
    p.open_document("spravka.pdf");
    p.edit_text("instruction.txt");
    p.ask(&owner, "На Выход", "Вы абсолютно уверены?");

    EXPECT_EQ(p.log(), (std::vector<QString>{
                           "tone 880 300",
                           "message Ошибка | не может быть отрицательным!",
                           "open spravka.pdf",
                           "edit instruction.txt",
                           "ask На Выход | Вы абсолютно уверены?",
                       }));
    ASSERT_EQ(p.count(Kind::Tone), 1U);
    EXPECT_EQ(p.calls_of(Kind::Tone)[0].frequency_hz, 880);
    EXPECT_EQ(p.calls_of(Kind::Tone)[0].duration_ms, 300);
    EXPECT_EQ(p.calls_of(Kind::Message)[0].parent, &owner);
    EXPECT_EQ(p.calls_of(Kind::EditText)[0].file_name, "instruction.txt");
    EXPECT_EQ(p.count(Kind::OpenDocument), 1U);

    p.clear();
    EXPECT_TRUE(p.calls().empty());
}

TEST(RecordingPlatform, AnswersFromTheScriptThenTheDefault)
{
    sp::RecordingPlatform p;
    p.answers = {sp::Answer::Yes, sp::Answer::No, sp::Answer::Yes};
    EXPECT_EQ(p.ask(nullptr, "На Выход", "?"), sp::Answer::Yes);
    EXPECT_EQ(p.ask(nullptr, "На Выход", "?"), sp::Answer::No);
    EXPECT_EQ(p.ask(nullptr, "На Выход", "?"), sp::Answer::Yes);
    EXPECT_EQ(p.ask(nullptr, "На Выход", "?"), sp::Answer::No);
    p.default_answer = sp::Answer::Yes;
    EXPECT_EQ(p.ask(nullptr, "На Выход", "?"), sp::Answer::Yes);

    const auto asked = p.calls_of(Kind::Ask);
    ASSERT_EQ(asked.size(), 5U);
    const sp::Answer recorded[] = {sp::Answer::Yes, sp::Answer::No, sp::Answer::Yes,
                                   sp::Answer::No, sp::Answer::Yes};
    for (std::size_t i = 0; i < asked.size(); ++i)
        EXPECT_EQ(asked[i].answer, recorded[i]) << i;
}

TEST(RecordingPlatform, HooksRunWhileTheBoxIsOpenAndMayCallAgain)
{
    sp::RecordingPlatform p;
    p.answers = {sp::Answer::No, sp::Answer::Yes};
    // While the first question is open a tone sounds and a second question comes (a second
    // close request). That one is answered first, so it takes the first scripted answer; the
    // outer question, answered when its box closes, takes the next.
    int asks_seen = 0;
    p.on_ask = [&](const sp::RecordingPlatform::Call& c) {
        EXPECT_EQ(c.title, "На Выход");
        if (++asks_seen == 1) {
            p.tone(880, 300);
            EXPECT_EQ(p.ask(nullptr, "На Выход", "второй"), sp::Answer::No);
        }
    };
    bool message_seen_in_log = false;
    p.on_message = [&](const sp::RecordingPlatform::Call& c) {
        message_seen_in_log = p.calls().back().text == c.text;
    };
    int tones_heard = 0;
    p.on_tone = [&](const sp::RecordingPlatform::Call& c) { tones_heard += c.duration_ms; };

    EXPECT_EQ(p.ask(nullptr, "На Выход", "первый"), sp::Answer::Yes);
    p.message(nullptr, "О ПРОГРАММЕ", "текст");

    EXPECT_TRUE(message_seen_in_log);
    EXPECT_EQ(tones_heard, 300);
    EXPECT_EQ(p.log(), (std::vector<QString>{"ask На Выход | первый", "tone 880 300",
                                             "ask На Выход | второй", "message О ПРОГРАММЕ | текст"}));
    EXPECT_EQ(p.calls()[0].answer, sp::Answer::Yes);
    EXPECT_EQ(p.calls()[2].answer, sp::Answer::No);
}

}  // namespace
