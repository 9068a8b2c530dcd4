#pragma once
// The program's seams to the outside world: the warning tone, modal message boxes,
// opening a document with the desktop's program for it, and starting the text editor.
// The window talks only to this interface, so tests can pass a recording fake that
// answers the questions and makes no sound, no box and no process.

#include <QString>

class QWidget;

namespace sp {

enum class Answer { Yes, No };

// How an attempt to show a document ended.
enum class Opened { Yes, Missing, NoViewer };

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

    // Opens a document, named without a folder, with the program the desktop associates
    // with it. The document is looked for where an installation puts it (see
    // document_folders); the answer says whether it was found and shown.
    virtual Opened open_document(const QString& file_name) = 0;

    // Starts the system's text editor on a document, named as above, as a separate process,
    // without waiting for it.
    virtual Opened edit_text(const QString& file_name) = 0;

    // The standard dialogs for saving: a folder to write into, or a file to write, starting
    // from `start`. An empty answer means the user cancelled.
    virtual QString choose_folder(QWidget* parent, const QString& title, const QString& start) = 0;
    virtual QString choose_save_file(QWidget* parent, const QString& title, const QString& start,
                                     const QString& filter) = 0;
};

}  // namespace sp
