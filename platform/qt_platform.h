#pragma once
// The real platform: the tone through Qt Multimedia, Qt message boxes, and the desktop's
// programs for documents and text files.

#include <memory>

#include <QDir>
#include <QString>
#include <QStringList>

#include "platform/platform.h"

class QCoreApplication;
class QMessageBox;

namespace sp {

class QtPlatform final : public Platform {
public:
    void tone(int frequency_hz, int duration_ms) override;
    void message(QWidget* parent, const QString& title, const QString& text) override;
    Answer ask(QWidget* parent, const QString& title, const QString& text) override;
    Opened open_document(const QString& file_name) override;
    Opened edit_text(const QString& file_name) override;
    QString choose_folder(QWidget* parent, const QString& title, const QString& start) override;
    QString choose_save_file(QWidget* parent, const QString& title, const QString& start,
                             const QString& filter) override;
};

// The boxes message() and ask() show, built but not yet shown, so that their make-up can be
// checked without a modal loop.
std::unique_ptr<QMessageBox> make_message_box(QWidget* parent, const QString& title,
                                              const QString& text);
std::unique_ptr<QMessageBox> make_question_box(QWidget* parent, const QString& title,
                                               const QString& text);

// Installs Qt's own Russian texts (qtbase_ru.qm from Qt's translations folder) into the
// application, so that standard buttons and the fields' context menus speak the program's
// language: «Да», «Нет», «Отменить», … Call it before any box or menu is built, since a button
// takes its text when it is made. False when the catalogue is missing: Qt then stays English.
bool install_qt_translations(QCoreApplication& app);

// Where a document named without a folder is looked for: the current directory, as the
// menus promise, and failing that the program's own folder, so that the documents installed
// beside the program are found also when it was started from elsewhere (a desktop shortcut,
// the repository root). When neither has it, the path in the current directory is returned
// and opening it simply fails.
QString document_path(const QString& file_name, const QDir& current, const QDir& program);

// Every folder a document may be in, in the order they are tried: the current directory,
// the program's folder, the installation's share/spring-pendulum beside the program's bin/,
// and the application data folders of the desktop (QStandardPaths).
QStringList document_folders(const QDir& current, const QDir& program);

// The first existing file of that name in those folders; empty when there is none.
QString find_document(const QString& file_name, const QStringList& folders);

}  // namespace sp
