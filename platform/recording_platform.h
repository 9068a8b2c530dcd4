#pragma once
// A platform for tests: it makes no sound, shows no box and starts nothing. It records every
// call in order and answers questions from a script, so a test can drive the window through
// a confirmation, a refusal or an error message and then check what the user would have
// heard and seen.

#include <cstddef>
#include <deque>
#include <functional>
#include <vector>

#include <QString>

#include "platform/platform.h"

namespace sp {

class RecordingPlatform final : public Platform {
public:
    enum class Kind { Tone, Message, Ask, OpenDocument, EditText, ChooseFolder, ChooseFile };

    struct Call {
        Kind kind;
        int frequency_hz = 0;        // Tone
        int duration_ms = 0;         // Tone
        QWidget* parent = nullptr;   // Message, Ask
        QString title{};             // Message, Ask
        QString text{};             // Message, Ask
        QString file_name{};        // OpenDocument, EditText; ChooseFolder, ChooseFile: the answer
        Answer answer = Answer::No;  // Ask: what was answered
    };

    void tone(int frequency_hz, int duration_ms) override;
    void message(QWidget* parent, const QString& title, const QString& text) override;
    Answer ask(QWidget* parent, const QString& title, const QString& text) override;
    Opened open_document(const QString& file_name) override;
    Opened edit_text(const QString& file_name) override;
    QString choose_folder(QWidget* parent, const QString& title, const QString& start) override;
    QString choose_save_file(QWidget* parent, const QString& title, const QString& start,
                             const QString& filter) override;

    // Every call so far, oldest first.
    const std::vector<Call>& calls() const { return calls_; }
    std::vector<Call> calls_of(Kind kind) const;
    std::size_t count(Kind kind) const;
    // One line per call ("tone 880 300", "message Ошибка | …", "ask На Выход | …",
    // "open spravka.pdf", "edit instruction.txt"), for comparing whole sequences at once.
    std::vector<QString> log() const;
    void clear() { calls_.clear(); }

    // Answers for the coming questions, in order; once they are used up, default_answer.
    std::deque<Answer> answers;
    Answer default_answer = Answer::No;

    // What opening a document answers.
    Opened opened = Opened::Yes;
    // The paths the coming folder and file dialogs answer, in order; once they are used up,
    // the dialogs are cancelled (an empty path). The start folder each was offered is kept.
    std::deque<QString> chosen_paths;
    std::vector<QString> offered_starts;

    // Run inside the call, after it has been recorded: the moment the user would be hearing
    // the tone or looking at the open box. They may call this platform again; the record
    // stays in call order.
    std::function<void(const Call&)> on_tone;
    std::function<void(const Call&)> on_message;
    std::function<void(const Call&)> on_ask;

private:
    std::size_t record(Call call);
    QString next_path(Kind kind, QWidget* parent, const QString& title, const QString& start);

    std::vector<Call> calls_;
};

}  // namespace sp
