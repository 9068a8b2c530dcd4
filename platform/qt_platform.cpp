#include "platform/qt_platform.h"

#include <algorithm>

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QList>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QLibraryInfo>
#include <QMediaDevices>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QTranslator>
#include <QUrl>

#include "platform/tone_samples.h"

namespace sp {
namespace {

// Mono 16-bit is what nearly every output takes; otherwise the device's own format is used
// and the samples are generated in it.
QAudioFormat tone_format(const QAudioDevice& device)
{
    QAudioFormat format;
    format.setSampleRate(48000);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    return device.isFormatSupported(format) ? format : device.preferredFormat();
}

QtMessageHandler g_previous_handler = nullptr;

void drop_sound_server_notes(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (!text.startsWith(QLatin1String("PulseAudioService")) && g_previous_handler)
        g_previous_handler(type, context, text);
}

// The outputs there are. On a machine without a sound server (a build server, a terminal
// session) Qt's PulseAudio backend notes its failed connection on the console; for this
// program that only means the tone is silent, which needs no remark.
QList<QAudioDevice> audio_outputs()
{
    g_previous_handler = qInstallMessageHandler(drop_sound_server_notes);
    QList<QAudioDevice> outputs = QMediaDevices::audioOutputs();
    qInstallMessageHandler(g_previous_handler);
    return outputs;
}

// Waits without handling clicks and keys: they stay queued until the wait is over, while
// timers, repaints and the audio backend's feeding go on.
void wait_without_user_input(int duration_ms)
{
    QEventLoop loop;
    QTimer::singleShot(duration_ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

QString installed_document(const QString& file_name)
{
    return find_document(file_name, document_folders(QDir::current(),
                                                     QDir(QCoreApplication::applicationDirPath())));
}

// QMessageBox wraps every text wider than 500 pixels (half the screen on a small one), so a
// text written line by line, like the information box, would show lines broken in two. The
// text's label is given the width of its longest line instead, up to the widest box Qt
// allows on the screen (beyond that Qt breaks lines anywhere, which no width can prevent).
void fit_longest_line(QMessageBox& box)
{
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label)
        return;
    const QFontMetrics metrics(label->font());
    int longest = 0;
    for (const QString& line : label->text().split(QLatin1Char('\n')))
        longest = std::max(longest, metrics.horizontalAdvance(line));
    // One pixel for the rounding of the advances, as QLabel's own size hint allows.
    int width = longest + 1;
    if (const QScreen* screen = box.screen()) {
        const int screen_width = screen->availableGeometry().width();
        const int qt_ceiling = screen_width <= 1024 ? screen_width : std::min(screen_width - 480, 1000);
        int margins = 0;
        if (const QLayout* layout = box.layout())
            margins = layout->contentsMargins().left() + layout->contentsMargins().right();
        width = std::min(width, qt_ceiling - margins);
    }
    label->setMinimumWidth(std::max(width, 0));
}

}  // namespace

void QtPlatform::tone(int frequency_hz, int duration_ms)
{
    if (duration_ms <= 0)
        return;

    // The sink, its buffer and the samples must outlive the wait: the backend reads from
    // the buffer while the loop runs, and destroying the sink cuts the sound.
    std::unique_ptr<QAudioSink> sink;
    QByteArray samples;
    QBuffer buffer(&samples);
    if (!audio_outputs().isEmpty()) {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        const QAudioFormat format = tone_format(device);
        samples = tone_samples(format, frequency_hz, duration_ms);
        if (!samples.isEmpty() && buffer.open(QIODevice::ReadOnly)) {
            sink = std::make_unique<QAudioSink>(device, format);
            sink->start(&buffer);
        }
    }

    wait_without_user_input(duration_ms);

    if (sink)
        sink->stop();
}

std::unique_ptr<QMessageBox> make_message_box(QWidget* parent, const QString& title,
                                              const QString& text)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, title, text, QMessageBox::Ok,
                                             parent);
    fit_longest_line(*box);
    return box;
}

std::unique_ptr<QMessageBox> make_question_box(QWidget* parent, const QString& title,
                                               const QString& text)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, title, text,
                                             QMessageBox::Yes | QMessageBox::No, parent);
    box->setDefaultButton(QMessageBox::Yes);
    // Escape and the box's close button take back the request instead of confirming it.
    box->setEscapeButton(QMessageBox::No);
    fit_longest_line(*box);
    return box;
}

void QtPlatform::message(QWidget* parent, const QString& title, const QString& text)
{
    make_message_box(parent, title, text)->exec();
}

Answer QtPlatform::ask(QWidget* parent, const QString& title, const QString& text)
{
    return make_question_box(parent, title, text)->exec() == QMessageBox::Yes ? Answer::Yes
                                                                               : Answer::No;
}

Opened QtPlatform::open_document(const QString& file_name)
{
    const QString path = installed_document(file_name);
    if (path.isEmpty())
        return Opened::Missing;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path)) ? Opened::Yes : Opened::NoViewer;
}

Opened QtPlatform::edit_text(const QString& file_name)
{
    const QString path = installed_document(file_name);
    if (path.isEmpty())
        return Opened::Missing;
#ifdef Q_OS_WIN
    // Notepad by its place on the search path, never by a bare name: a bare name would also
    // be looked up in the current directory, which may hold a program of the same name.
    const QString notepad = QStandardPaths::findExecutable(QStringLiteral("notepad.exe"));
    if (!notepad.isEmpty() && QProcess::startDetached(notepad, {QDir::toNativeSeparators(path)}))
        return Opened::Yes;
#endif
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path)) ? Opened::Yes : Opened::NoViewer;
}

QString QtPlatform::choose_folder(QWidget* parent, const QString& title, const QString& start)
{
    return QFileDialog::getExistingDirectory(parent, title, start);
}

QString QtPlatform::choose_save_file(QWidget* parent, const QString& title, const QString& start,
                                     const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, title, start, filter);
}

bool install_qt_translations(QCoreApplication& app)
{
    // The program is Russian whatever the desktop's language, so the catalogue is not chosen
    // by the system locale.
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ru"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

QString document_path(const QString& file_name, const QDir& current, const QDir& program)
{
    const QString here = current.absoluteFilePath(file_name);
    if (QFileInfo::exists(here))
        return here;
    const QString beside_program = program.absoluteFilePath(file_name);
    return QFileInfo::exists(beside_program) ? beside_program : here;
}

QStringList document_folders(const QDir& current, const QDir& program)
{
    QStringList folders = {current.absolutePath(), program.absolutePath(),
                           QDir::cleanPath(program.absoluteFilePath(
                               QStringLiteral("../share/spring-pendulum")))};
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::AppDataLocation))
        if (!folders.contains(data))
            folders.append(data);
    return folders;
}

QString find_document(const QString& file_name, const QStringList& folders)
{
    for (const QString& folder : folders) {
        const QFileInfo candidate(QDir(folder), file_name);
        if (candidate.isFile())
            return candidate.absoluteFilePath();
    }
    return {};
}

}  // namespace sp
