#pragma once
// The program's seams to the outside world: the warning tone, modal message boxes,
// opening a document with the desktop's program for it, and starting the text editor.
// The window talks only to this interface, so tests can pass a recording fake that
// answers the questions and makes no sound, no box and no process.

#include <QString>

class QWidget;

namespace sp {

enum class Answer { Yes, No };

class Platform {
public:
    virtual ~Platform() = default;

    // Sounds a tone and returns only when it has ended. Without an audio output the call
    // still lasts its duration. No user input is handled meanwhile.
    virtual void tone(int frequency_hz, int duration_ms) = 0;

    // A modal box with the title, the text, a single OK button and no icon.
    virtual void message(QWidget* parent, const QString& title, const QString& text) = 0;

    // A modal question with Yes and No (Yes is the default button) and no icon.
    virtual Answer ask(QWidget* parent, const QString& title, const QString& text) = 0;

    // Opens a document, named relative to the current directory, with the program the
    // desktop associates with it. Whether that worked is not reported.
    virtual void open_document(const QString& file_name) = 0;

    // Starts the system's text editor on a file as a separate process, without waiting
    // for it. A failure to start it is ignored.
    virtual void edit_text(const QString& file_name) = 0;
};

}  // namespace sp
