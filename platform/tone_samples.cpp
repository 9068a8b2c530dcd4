#include "platform/tone_samples.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>

namespace sp {
namespace {

// Writes one sample of value v in [-1, 1] at p in the format's encoding.
void put_sample(char* p, QAudioFormat::SampleFormat f, double v)
{
    switch (f) {
    case QAudioFormat::UInt8: {
        const auto s = static_cast<std::uint8_t>(std::lround(128.0 + 127.0 * v));
        std::memcpy(p, &s, sizeof s);
        break;
    }
    case QAudioFormat::Int16: {
        const auto s = static_cast<std::int16_t>(std::lround(32767.0 * v));
        std::memcpy(p, &s, sizeof s);
        break;
    }
    case QAudioFormat::Int32: {
        const auto s = static_cast<std::int32_t>(std::llround(2147483647.0 * v));
        std::memcpy(p, &s, sizeof s);
        break;
    }
    case QAudioFormat::Float: {
        const auto s = static_cast<float>(v);
        std::memcpy(p, &s, sizeof s);
        break;
    }
    default:
        break;
    }
}

}  // namespace

QByteArray tone_samples(const QAudioFormat& format, int frequency_hz, int duration_ms)
{
    const int bytes_per_sample = format.bytesPerSample();
    const int channels = format.channelCount();
    const int rate = format.sampleRate();
    if (duration_ms <= 0 || !format.isValid() || bytes_per_sample <= 0 || channels <= 0
        || rate <= 0 || format.sampleFormat() == QAudioFormat::Unknown)
        return {};

    const qint64 frames = qint64(rate) * duration_ms / 1000;
    const qint64 ramp = std::max<qint64>(1, qint64(rate) * kToneRampMs / 1000);
    const double omega = 2.0 * std::numbers::pi * std::max(frequency_hz, 0) / rate;

    QByteArray out(frames * channels * bytes_per_sample, Qt::Uninitialized);
    char* p = out.data();
    for (qint64 i = 0; i < frames; ++i) {
        const double edge = std::min({1.0, double(i) / ramp, double(frames - 1 - i) / ramp});
        const double v = kToneLevel * std::max(edge, 0.0) * std::sin(omega * double(i));
        for (int c = 0; c < channels; ++c, p += bytes_per_sample)
            put_sample(p, format.sampleFormat(), v);
    }
    return out;
}

}  // namespace sp
