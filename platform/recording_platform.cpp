#include "platform/recording_platform.h"

#include <algorithm>

namespace sp {

std::size_t RecordingPlatform::record(Call call)
{
    calls_.push_back(std::move(call));
    return calls_.size() - 1;
}

// The hooks get a copy: a nested call inside them grows the record and would leave a
// reference into it dangling.
void RecordingPlatform::tone(int frequency_hz, int duration_ms)
{
    const Call call{.kind = Kind::Tone, .frequency_hz = frequency_hz, .duration_ms = duration_ms};
    record(call);
    if (on_tone)
        on_tone(call);
}

void RecordingPlatform::message(QWidget* parent, const QString& title, const QString& text)
{
    const Call call{.kind = Kind::Message, .parent = parent, .title = title, .text = text};
    record(call);
    if (on_message)
        on_message(call);
}

Answer RecordingPlatform::ask(QWidget* parent, const QString& title, const QString& text)
{
    Call call{.kind = Kind::Ask, .parent = parent, .title = title, .text = text};
    const std::size_t index = record(call);
    if (on_ask)
        on_ask(call);
    // The answer is taken when the box closes, after whatever happened while it was open.
    Answer answer = default_answer;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    calls_[index].answer = answer;
    return answer;
}

Opened RecordingPlatform::open_document(const QString& file_name)
{
    record(Call{.kind = Kind::OpenDocument, .file_name = file_name});
    return opened;
}

Opened RecordingPlatform::edit_text(const QString& file_name)
{
    record(Call{.kind = Kind::EditText, .file_name = file_name});
    return opened;
}

QString RecordingPlatform::next_path(Kind kind, QWidget* parent, const QString& title,
                                     const QString& start)
{
    QString path;
    if (!chosen_paths.empty()) {
        path = chosen_paths.front();
        chosen_paths.pop_front();
    }
    offered_starts.push_back(start);
    record(Call{.kind = kind, .parent = parent, .title = title, .file_name = path});
    return path;
}

QString RecordingPlatform::choose_folder(QWidget* parent, const QString& title, const QString& start)
{
    return next_path(Kind::ChooseFolder, parent, title, start);
}

QString RecordingPlatform::choose_save_file(QWidget* parent, const QString& title,
                                            const QString& start, const QString&)
{
    return next_path(Kind::ChooseFile, parent, title, start);
}

std::vector<RecordingPlatform::Call> RecordingPlatform::calls_of(Kind kind) const
{
    std::vector<Call> out;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(out),
                 [kind](const Call& c) { return c.kind == kind; });
    return out;
}

std::size_t RecordingPlatform::count(Kind kind) const
{
    return std::count_if(calls_.begin(), calls_.end(),
                         [kind](const Call& c) { return c.kind == kind; });
}

std::vector<QString> RecordingPlatform::log() const
{
    std::vector<QString> out;
    for (const Call& c : calls_) {
        switch (c.kind) {
        case Kind::Tone:
            out.push_back(QStringLiteral("tone %1 %2").arg(c.frequency_hz).arg(c.duration_ms));
            break;
        case Kind::Message:
            out.push_back(QStringLiteral("message %1 | %2").arg(c.title, c.text));
            break;
        case Kind::Ask:
            out.push_back(QStringLiteral("ask %1 | %2").arg(c.title, c.text));
            break;
        case Kind::OpenDocument:
            out.push_back(QStringLiteral("open ") + c.file_name);
            break;
        case Kind::EditText:
            out.push_back(QStringLiteral("edit ") + c.file_name);
            break;
        case Kind::ChooseFolder:
            out.push_back(QStringLiteral("folder ") + c.file_name);
            break;
        case Kind::ChooseFile:
            out.push_back(QStringLiteral("file ") + c.file_name);
            break;
        }
    }
    return out;
}

}  // namespace sp
